#include "frmDisplay.h"

#include "ui_frmDisplay.h"

#include "form_support.h"
#include "frmMain.h"
#include "shared_commands.h"
#include "site/site_links.h"
#include "site/site_texts.h"
#include "window_host.h"

#include <QCloseEvent>

frmDisplay::frmDisplay(WindowHost &host)
    : ui(std::make_unique<Ui::frmDisplay>())
    , m_host(host)
{
    ui->setupUi(this);
    quendril::forms::applyDesignFonts(this);
    ui->Label61->setText(quendril::site::boardAdvertisement());
    setWindowIcon(host.applicationIcon());
    quendril::forms::makeFixedWindow(this);

    ui->cmdBack->setAutoDefault(true);
    ui->cmdExit->setAutoDefault(true);
    quendril::forms::installDefaultAndCancel(this, ui->cmdExit, ui->cmdExit);
    quendril::forms::clickAccessKeysAtOnce(this);

    connect(ui->cmdBack, &QPushButton::clicked, this, &frmDisplay::cmdBack_Click);
    connect(ui->mnuFileBack, &QAction::triggered, this, &frmDisplay::cmdBack_Click);
    connect(ui->cmdExit, &QPushButton::clicked, this, &frmDisplay::cmdExit_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &frmDisplay::cmdExit_Click);
    quendril::forms::connectSiteCommands(this, *ui, host);
    quendril::forms::offerMenusOnlyWhileShown(this);
}

frmDisplay::~frmDisplay() = default;

void frmDisplay::setReading(const QString &location, const QString &number)
{
    ui->lblLostObjectLocation->setText(location);
    ui->lblLostObjectNumber->setText(number);
}

QString frmDisplay::readingText() const
{
    return ui->lblLostObjectLocation->text();
}

QString frmDisplay::readingNumber() const
{
    return ui->lblLostObjectNumber->text();
}

void frmDisplay::showResult()
{
    quendril::forms::centreOnScreen(this);
    show();
    ui->cmdExit->setFocus();
}

void frmDisplay::cmdBack_Click()
{
    close();
    m_host.mainWindow().show();
    m_host.hideStartupWindow();
    m_host.hideExitScreen();
}

void frmDisplay::cmdExit_Click()
{
    close();
}

void frmDisplay::closeEvent(QCloseEvent *event)
{
    quendril::forms::closeOnce(m_closing, event, [this] {
        Form_Unload();
        m_host.windowClosed(this);
    });
}

void frmDisplay::Form_Unload()
{
    m_host.showExitScreen();
    m_host.hideStartupWindow();
}

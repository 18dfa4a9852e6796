#include "frmDisplay.h"

#include "ui_frmDisplay.h"

#include "form_support.h"
#include "frmMain.h"
#include "window_host.h"

namespace quendril::windows {

frmDisplay::frmDisplay(WindowHost &host)
    : ClosingMainWindow(host)
    , ui(std::make_unique<Ui::frmDisplay>())
{
    ui->setupUi(this);
    setUpSharedParts(*ui);

    ui->cmdBack->setAutoDefault(true);
    installDefaultAndCancel(this, ui->cmdExit, ui->cmdExit);

    connect(ui->cmdBack, &QPushButton::clicked, this, &frmDisplay::cmdBack_Click);
    connect(ui->mnuFileBack, &QAction::triggered, this, &frmDisplay::cmdBack_Click);
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
    centreOnScreen(this);
    show();
    ui->cmdExit->setFocus();
}

void frmDisplay::cmdBack_Click()
{
    // Closed, not hidden: the next Find Object builds a new result window.
    // Closing runs the close handling every close runs, which brings up the
    // exit screen; hiding it again must therefore come last.
    close();
    m_host.mainWindow().show();
    m_host.hideExitScreen();
}

} // namespace quendril::windows

#include "frmMain.h"

#include "ui_frmMain.h"

#include "core/entry_rules.h"
#include "core/reading.h"
#include "form_support.h"
#include "frmDisplay.h"
#include "key_codes.h"
#include "platform/platform.h"
#include "product/product.h"
#include "site/site_links.h"
#include "window_host.h"

#include <QKeyEvent>

namespace quendril::windows {

frmMain::frmMain(WindowHost &host)
    : ClosingMainWindow(host)
    , ui(std::make_unique<Ui::frmMain>())
{
    ui->setupUi(this);
    ui->Label2->setText(QStringLiteral("Have you misplaced some item? Worry no more. " QUENDRIL_TITLE
                                       " can help you find lost objects. Try it out to know for sure!"));
    setUpSharedParts(*ui);

    ui->cmdNext->setAutoDefault(true);
    installDefaultAndCancel(this, ui->cmdNext, ui->cmdNext);
    // "&File" and "&Find Object" share their access key; as on Windows, the
    // menu takes Alt+F (Enter and Esc run Find Object).
    ui->cmdNext->setShortcut(QKeySequence());
    ui->txtNumber->installEventFilter(this);

    connect(ui->cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(ui->mnuNext, &QAction::triggered, this, &frmMain::cmdNext_Click);
    connect(ui->Label2, &ClickableLabel::clicked, this, [&host] { host.links().OpenFullyBrandedPage(); });

    centreOnScreen(this);
    ui->txtNumber->setFocus();
}

frmMain::~frmMain() = default;

QLabel *frmMain::lblCobrand() const
{
    return ui->lblCobrand;
}

QLabel *frmMain::lblFullBrand() const
{
    return ui->lblFullBrand;
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->txtNumber && event->type() == QEvent::KeyPress) {
        const auto code = characterCode(*static_cast<QKeyEvent *>(event));
        if (code) {
            std::int16_t keyAscii = *code;
            txtNumber_KeyPress(keyAscii);
            if (keyAscii == 0)
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::txtNumber_KeyPress(std::int16_t &keyAscii)
{
    if (core::keyCodePasses(keyAscii))
        return;
    m_host.platform().showMessage(this, core::kOnlyNumbersMessage, platform::Platform::MessageIcon::Information);
    keyAscii = 0;
}

bool frmMain::Validate_Number()
{
    const auto verdict = core::checkEntry(ui->txtNumber->text());
    if (verdict == core::EntryVerdict::Accepted)
        return true;
    m_host.platform().showMessage(this, core::entryMessage(verdict), platform::Platform::MessageIcon::Information);
    ui->txtNumber->setFocus();
    return false;
}

void frmMain::cmdNext_Click()
{
    if (!Validate_Number())
        return;
    // The rules let a pasted or typed non-digit through; it has no reading.
    const auto reading = core::computeReading(ui->txtNumber->text(), m_host.readingState());
    if (!reading) {
        m_host.platform().showMessage(this, core::kOnlyNumbersMessage, platform::Platform::MessageIcon::Information);
        ui->txtNumber->setFocus();
        return;
    }
    frmDisplay &display = m_host.resultWindow();
    display.setReading(reading->text, QString::number(reading->number));
    // Hidden, not closed: the main window keeps the entry for Back. Hiding the
    // exit screen loads it, hidden, the first time: its appeal is drawn at the
    // first Find Object, not at Exit.
    hide();
    m_host.hideExitScreen();
    display.showResult();
}

} // namespace quendril::windows

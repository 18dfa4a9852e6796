#include "frmNagScreen2.h"

#include "ui_frmNagScreen2.h"

#include "fitted_text.h"
#include "form_support.h"
#include "key_codes.h"
#include "platform/platform.h"
#include "shared_commands.h"
#include "site/referral.h"
#include "site/site_links.h"
#include "site/site_texts.h"
#include "window_host.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include <cmath>

namespace quendril::windows {

namespace {

namespace placeholder = site::placeholder;

const QString kCrLf = QStringLiteral("\r\n");

// The plain-text editor keeps line breaks as '\n'; the form reads and writes
// them as carriage return and line feed.
QString editorText(const QPlainTextEdit *box)
{
    QString text = box->toPlainText();
    return text.replace(u'\n', kCrLf);
}

void setEditorText(QPlainTextEdit *box, QString text)
{
    box->setPlainText(text.replace(kCrLf, QStringLiteral("\n")));
}

} // namespace

// A refer-a-friend box and the text that stands in it while nothing is typed.
struct frmNagScreen2::Placeholder {
    QWidget *box;
    QString text;
};

frmNagScreen2::frmNagScreen2(WindowHost &host)
    : ui(std::make_unique<Ui::frmNagScreen2>())
    , m_host(host)
{
    ui->setupUi(this);
    setUpWindow(this, host.applicationIcon());
    // Enter presses the focused button; the screen has no default button.
    installDefaultAndCancel(this, nullptr, nullptr);
    setWindowFlag(Qt::WindowStaysOnTopHint);

    setEditorText(ui->txtMessage, placeholder::message.toString() + kCrLf);
    setFittedText(ui->Check1, site::visitSiteCaption());
    ui->lblGoToHome->adjustSize();

    m_placeholders = {
        { ui->txtName, placeholder::name.toString() },
        { ui->txtEmail, placeholder::email.toString() },
        { ui->txtFriendName, placeholder::friendName.toString() },
        { ui->txtFriendEmail, placeholder::friendEmail.toString() },
        { ui->txtMessage, placeholder::message.toString() },
    };
    for (const Placeholder &placeholder : m_placeholders)
        placeholder.box->installEventFilter(this);

    const site::SiteLinks &links = host.links();
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmNagScreen2::cmdClose_Click);
    connect(ui->cmdSubmit, &QPushButton::clicked, this, &frmNagScreen2::cmdSubmit_Click);
    connect(ui->Check1, &QCheckBox::toggled, this, &frmNagScreen2::Check1_Click);
    connect(ui->lblGoToHome, &ClickableLabel::clicked, this, [&links] { links.OpenSoftwaresPage(); });

    Form_Load();
    centreOnScreen(this);
    ui->cmdClose->setFocus();
}

frmNagScreen2::~frmNagScreen2() = default;

void frmNagScreen2::Form_Load()
{
    ui->lblNagScreen2Caption->setText(windowTitle());
    ui->lblNagScreen2Caption->adjustSize();
    ui->picNagscreen2Icon->setPixmap(windowIcon().pixmap(ui->picNagscreen2Icon->size(), devicePixelRatio()));

    platform::Platform &platform = m_host.platform();
    platform.seedRandom();
    const float r = platform.randomFraction();
    const int k = static_cast<int>(std::floor(r * site::kSupportAppealCount));
    // The label takes the height of the tallest appeal: the window has one size whichever it shows.
    QStringList appeals;
    for (int index = 0; index < site::kSupportAppealCount; ++index)
        appeals << site::supportAppeal(index);
    setFittedText(ui->Label2, site::supportAppeal(k), appeals);
}

QString frmNagScreen2::nameText() const
{
    return ui->txtName->text();
}

QString frmNagScreen2::emailText() const
{
    return ui->txtEmail->text();
}

QString frmNagScreen2::friendNameText() const
{
    return ui->txtFriendName->text();
}

QString frmNagScreen2::friendEmailText() const
{
    return ui->txtFriendEmail->text();
}

QString frmNagScreen2::messageText() const
{
    return editorText(ui->txtMessage);
}

const frmNagScreen2::Placeholder *frmNagScreen2::placeholderFor(const QObject *box) const
{
    for (const Placeholder &placeholder : m_placeholders) {
        if (placeholder.box == box)
            return &placeholder;
    }
    return nullptr;
}

bool frmNagScreen2::eventFilter(QObject *watched, QEvent *event)
{
    if (const Placeholder *placeholder = placeholderFor(watched)) {
        switch (event->type()) {
        case QEvent::FocusIn:
            gotFocus(*placeholder);
            break;
        case QEvent::FocusOut:
            lostFocus(*placeholder);
            break;
        case QEvent::KeyPress:
            if (watched == ui->txtEmail || watched == ui->txtFriendEmail) {
                const auto code = characterCode(*static_cast<QKeyEvent *>(event));
                if (code) {
                    int keyAscii = *code;
                    emailKeyPress(static_cast<QLineEdit *>(watched), keyAscii);
                    if (keyAscii == 0)
                        return true;
                }
            }
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmNagScreen2::gotFocus(const Placeholder &placeholder)
{
    if (auto *line = qobject_cast<QLineEdit *>(placeholder.box)) {
        if (site::trimSpaces(line->text()) == placeholder.text)
            line->setText(QString());
    } else if (auto *editor = qobject_cast<QPlainTextEdit *>(placeholder.box)) {
        if (site::trimSpaces(editorText(editor)) == placeholder.text)
            editor->setPlainText(QString());
    }
}

void frmNagScreen2::lostFocus(const Placeholder &placeholder)
{
    if (auto *line = qobject_cast<QLineEdit *>(placeholder.box)) {
        if (site::trimSpaces(line->text()).isEmpty())
            line->setText(placeholder.text);
    } else if (auto *editor = qobject_cast<QPlainTextEdit *>(placeholder.box)) {
        if (site::trimSpaces(editorText(editor)).isEmpty())
            editor->setPlainText(placeholder.text);
    }
}

void frmNagScreen2::emailKeyPress(QLineEdit *box, int &keyAscii)
{
    if (keyAscii != ' ')
        return;
    m_host.platform().showMessage(
        this, QStringLiteral("Email Address Cannot Contain Space"), platform::Platform::MessageIcon::Stop);
    keyAscii = 0;
    box->setFocus();
}

void frmNagScreen2::Check1_Click()
{
    if (!ui->Check1->isChecked())
        return;
    ui->Check1->setChecked(false);
    m_host.links().OpenHomePage();
}

void frmNagScreen2::cmdSubmit_Click()
{
    site::TellAFriend &fields = m_host.tellAFriend();
    fields.ReferrerName = site::trimSpaces(nameText());
    fields.ReferrerEmail = site::trimSpaces(emailText());
    fields.ReferralMessage = site::trimSpaces(messageText());
    fields.FriendName = site::trimSpaces(friendNameText());
    fields.FriendEmail = site::trimSpaces(friendEmailText());

    const QString problem
        = site::emailAddressProblem(site::trimSpaces(emailText()), site::trimSpaces(friendEmailText()));
    if (!problem.isEmpty()) {
        m_host.platform().showMessage(this, problem, platform::Platform::MessageIcon::Stop);
        return;
    }
    site::SubmitReferral(fields, m_host.platform(), this);
}

void frmNagScreen2::cmdClose_Click()
{
    m_host.EndApplication();
}

void frmNagScreen2::closeEvent(QCloseEvent *event)
{
    closeOnce(m_closing, event, m_host, this, [this] { Form_Unload(); });
}

void frmNagScreen2::Form_Unload()
{
    // Also runs when EndApplication closes this screen: the pass entered here
    // skips it and closes what is left.
    m_host.EndApplication();
}

} // namespace quendril::windows

#include "qt_platform.h"

#include "instance_lock.h"

#include "product/product.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

#include <chrono>

namespace quendril::platform {

namespace {

const QString kApplicationTitle = QStringLiteral(QUENDRIL_TITLE);

// A plain dialog. QMessageBox's own default adds Windows' fixed dialog frame,
// which keeps a window at its size in device pixels when it is moved to a
// screen of another density; the box keeps its size by its layout anyway.
constexpr Qt::WindowFlags kMessageBoxFlags = Qt::Dialog;

// The store of one application name: the registry on Windows, a plist on
// macOS and an INI file under the user's configuration directory elsewhere.
std::unique_ptr<QSettings> openStore(const QString &application)
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application, application);
}

// A message may break its lines with a lone carriage return, which a Qt
// label does not take for a line break.
QString displayText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

// A question that must be answered with one of its buttons: Esc does nothing,
// the title bar offers no close box, and a request to close the window from
// outside is refused. (A plain Yes/No box takes No for Esc and for closing.)
class AnswerRequiredBox final : public QMessageBox {
public:
    AnswerRequiredBox(Icon icon, const QString &title, const QString &text, StandardButtons buttons)
        : QMessageBox(icon, title, text, buttons)
    {
        // QMessageBox adds the close box to whatever flags it is given.
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(event);
    }

    // Answering closes the box without a close event; any close event comes from outside.
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

// A box is kept above other windows where it could otherwise be hidden. One
// with no owner stands alone: a window kept on top, such as another copy's
// exit screen, would cover it. One with an owner lies above it anyway,
// unless the owner is kept above all others: then the box only lies above it
// in the owner's own layer.
void keepInSight(QMessageBox &box, const QWidget *ownerWindow)
{
    if (!ownerWindow || ownerWindow->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
}

} // namespace

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::showMessage(QWidget *owner, const QString &text, MessageIcon icon)
{
    QWidget *ownerWindow = owner ? owner->window() : nullptr;
    QMessageBox box(icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::Information, kApplicationTitle,
        displayText(text), QMessageBox::Ok, ownerWindow, kMessageBoxFlags);
    keepInSight(box, ownerWindow);
    box.exec();
}

bool QtPlatform::askYesNo(const QString &text)
{
    AnswerRequiredBox box(
        QMessageBox::Information, kApplicationTitle, displayText(text), QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    keepInSight(box, nullptr);
    return box.exec() == QMessageBox::Yes;
}

void QtPlatform::showToolkitNotice(QWidget *owner)
{
    QMessageBox::aboutQt(owner ? owner->window() : nullptr, kApplicationTitle);
}

void QtPlatform::shellOpen(const QString &address)
{
    // The address is already in its final form; tolerant parsing keeps it as it is.
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

QDate QtPlatform::today()
{
    return QDate::currentDate();
}

QLocale QtPlatform::dateLocale()
{
    return QLocale::system();
}

void QtPlatform::seedRandom()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count()
        ^ std::chrono::system_clock::now().time_since_epoch().count();
    m_random.seed(static_cast<quint32>(ticks ^ (ticks >> 32)));
}

float QtPlatform::randomFraction()
{
    // 24 random bits fill a float's mantissa exactly, so the result stays below 1.
    constexpr quint32 kSteps = 1u << 24;
    return static_cast<float>(m_random.bounded(kSteps)) / static_cast<float>(kSteps);
}

std::optional<QString> QtPlatform::readStoreValue(
    const QString &application, const QString &section, const QString &key)
{
    auto store = openStore(application);
    store->beginGroup(section);
    const QVariant value = store->value(key);
    if (store->status() != QSettings::NoError) {
        m_unreadableStores.insert(application);
        return std::nullopt;
    }
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

bool QtPlatform::writeStoreValue(
    const QString &application, const QString &section, const QString &key, const QString &value)
{
    auto store = openStore(application);
    store->beginGroup(section);
    // Loading first tells whether the store can be read at all; a store we could
    // not read is left alone rather than rewritten without its other contents.
    // QSettings hands later objects the file it parsed first, without the error
    // it met then: a store found unreadable before stays unreadable.
    store->value(key);
    if (store->status() != QSettings::NoError)
        m_unreadableStores.insert(application);
    if (m_unreadableStores.contains(application))
        return false;
    store->setValue(key, value);
    store->sync();
    return store->status() == QSettings::NoError;
}

QString QtPlatform::executableBaseName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

bool QtPlatform::otherCopyRunning()
{
    if (!m_instanceLock)
        m_instanceLock = std::make_unique<InstanceLock>(executableBaseName());
    return m_instanceLock->acquire() == InstanceLock::Outcome::HeldByOtherCopy;
}

void QtPlatform::endProcess(int status)
{
    m_ended = true;
    m_exitStatus = status;
    QCoreApplication::exit(status);
}

} // namespace quendril::platform

#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

class QWidget;

namespace quendril::platform {

// Everything the program asks of the operating system goes through this one
// interface, so that tests can stand in for it and see exactly what was asked.
class Platform {
public:
    enum class MessageIcon { Information, Stop };

    virtual ~Platform() = default;

    // A modal message box with a single OK button and the application title,
    // owned by the window it speaks for, so that it stays in front of it. A
    // message shown while no window is up has no owner, and is kept above
    // every window, so that no window kept on top can hide it.
    virtual void showMessage(QWidget *owner, const QString &text, MessageIcon icon) = 0;
    // A modal Yes/No question with the information icon, kept above every
    // window as a message without owner is; true means Yes.
    virtual bool askYesNo(const QString &text) = 0;

    // Qt's own about box, owned by the given window: the toolkit's copyright
    // notice, its licence and where to read it.
    virtual void showToolkitNotice(QWidget *owner) = 0;

    // Hands an address to the default browser. Failures are not reported.
    virtual void shellOpen(const QString &address) = 0;

    virtual QDate today() = 0;
    // The locale whose short-date format the stored date is written in.
    virtual QLocale dateLocale() = 0;

    virtual void seedRandom() = 0;
    // Uniform in [0, 1), single precision.
    virtual float randomFraction() = 0;

    // The per-user settings store, addressed by application, section and key.
    // A missing entry, or a store that cannot be read, gives nullopt.
    virtual std::optional<QString> readStoreValue(
        const QString &application, const QString &section, const QString &key)
        = 0;
    // Returns false when the store refused the write.
    virtual bool writeStoreValue(
        const QString &application, const QString &section, const QString &key, const QString &value)
        = 0;

    // The file name of the running executable without directory or extension.
    virtual QString executableBaseName() = 0;

    // True when another copy of this executable already runs for this user.
    virtual bool otherCopyRunning() = 0;

    // Ends the process with the given status. In tests it only records.
    virtual void endProcess(int status) = 0;
};

} // namespace quendril::platform

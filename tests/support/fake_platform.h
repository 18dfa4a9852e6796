#pragma once

#include "platform/platform.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <functional>

// A platform that answers from its fields and records every request in order.
class FakePlatform final : public quendril::platform::Platform {
public:
    struct Message {
        QString text;
        MessageIcon icon;
        const QWidget *owner;
    };

    // Everything asked, in order: "message:<text>", "ask:<text>", "toolkit notice", "open:<address>",
    // "write:<key>=<value>", "seed", "random", "end:<status>".
    QStringList events;
    QList<Message> messages;
    QStringList questions;
    QStringList opened;

    bool answerYes = true;
    QDate todayValue = QDate(2026, 12, 8);
    QLocale locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QList<float> randomValues; // handed out in turn; 0 when used up
    int seedCount = 0;
    QMap<QString, QString> store; // "application/section/key" -> value
    bool storeReadable = true;
    bool storeWritable = true;
    QString executable = QStringLiteral("quendril");
    bool otherCopy = false;
    QList<int> endRequests;

    // Runs while a message box or question would be up, to look at the program meanwhile.
    std::function<void(const QString &)> whileMessageShown;

    static QString storePath(const QString &application, const QString &section, const QString &key)
    {
        return application + u'/' + section + u'/' + key;
    }

    void showMessage(QWidget *owner, const QString &text, MessageIcon icon) override
    {
        events << QStringLiteral("message:") + text;
        messages.append({ text, icon, owner });
        if (whileMessageShown)
            whileMessageShown(text);
    }
    bool askYesNo(const QString &text) override
    {
        events << QStringLiteral("ask:") + text;
        questions << text;
        if (whileMessageShown)
            whileMessageShown(text);
        return answerYes;
    }
    void showToolkitNotice(QWidget *) override { events << QStringLiteral("toolkit notice"); }
    void shellOpen(const QString &address) override
    {
        events << QStringLiteral("open:") + address;
        opened << address;
    }
    QDate today() override { return todayValue; }
    QLocale dateLocale() override { return locale; }
    void seedRandom() override
    {
        events << QStringLiteral("seed");
        ++seedCount;
    }
    float randomFraction() override
    {
        events << QStringLiteral("random");
        return randomValues.isEmpty() ? 0.0f : randomValues.takeFirst();
    }
    std::optional<QString> readStoreValue(
        const QString &application, const QString &section, const QString &key) override
    {
        const QString path = storePath(application, section, key);
        if (!storeReadable || !store.contains(path))
            return std::nullopt;
        return store.value(path);
    }
    bool writeStoreValue(
        const QString &application, const QString &section, const QString &key, const QString &value) override
    {
        events << QStringLiteral("write:") + key + u'=' + value;
        if (!storeWritable)
            return false;
        store.insert(storePath(application, section, key), value);
        return true;
    }
    QString executableBaseName() override { return executable; }
    bool otherCopyRunning() override { return otherCopy; }
    void endProcess(int status) override
    {
        events << QStringLiteral("end:") + QString::number(status);
        endRequests << status;
    }
};

#pragma once

#include "platform.h"

#include <QRandomGenerator>
#include <QSet>

#include <memory>

namespace quendril::platform {

class InstanceLock;

// The real platform, through Qt.
class QtPlatform final : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    void showMessage(QWidget *owner, const QString &text, MessageIcon icon) override;
    bool askYesNo(const QString &text) override;
    void showToolkitNotice(QWidget *owner) override;
    void shellOpen(const QString &address) override;
    QDate today() override;
    QLocale dateLocale() override;
    void seedRandom() override;
    float randomFraction() override;
    std::optional<QString> readStoreValue(
        const QString &application, const QString &section, const QString &key) override;
    bool writeStoreValue(
        const QString &application, const QString &section, const QString &key, const QString &value) override;
    QString executableBaseName() override;
    bool otherCopyRunning() override;
    void endProcess(int status) override;

    // True once endProcess has been asked for; main() must then not enter the
    // event loop (the request may come before it runs).
    bool processEnded() const { return m_ended; }
    int exitStatus() const { return m_exitStatus; }

private:
    QRandomGenerator m_random;
    std::unique_ptr<InstanceLock> m_instanceLock;
    QSet<QString> m_unreadableStores;
    bool m_ended = false;
    int m_exitStatus = 0;
};

} // namespace quendril::platform

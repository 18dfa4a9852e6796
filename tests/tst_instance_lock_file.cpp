#include "support/copy_holder.h"

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

// The other-copy guard's lock file on Linux and other Unix systems: what a
// copy that is gone left in it, and lock files that cannot be used.
class TestInstanceLockFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void lockWithoutLiveOwnerIsTakenOver_data();
    void lockWithoutLiveOwnerIsTakenOver();
    void lockNotYetWrittenKeepsOthersOut();
    void unusableLockFileLetsEveryCopyIn_data();
    void unusableLockFileLetsEveryCopyIn();

private:
    QTemporaryDir m_runtime;
    CopyHolders m_copies;
    // The copy's runtime folder is m_runtime unless given; a temporary folder
    // replaces the system's when given. Run by root, an unprivileged copy runs
    // as nobody, for whom file modes count.
    std::unique_ptr<QProcess> startHolder(const QString &name = QStringLiteral("quendril"),
        const QString &runtime = QString(), const QString &temporary = QString(), bool unprivileged = false);
    static QString answer(QProcess &holder) { return CopyHolders::answer(holder); }
    static void end(std::initializer_list<QProcess *> holders) { CopyHolders::end(holders); }
    QString lockFile() const { return m_runtime.filePath(QStringLiteral("quendril.lock")); }
};

void TestInstanceLockFile::init()
{
    QVERIFY(m_runtime.isValid() && m_copies.isValid());
    // Whatever a failed case left behind does not decide the next one.
    QFile::remove(lockFile());
}

std::unique_ptr<QProcess> TestInstanceLockFile::startHolder(
    const QString &name, const QString &runtime, const QString &temporary, bool unprivileged)
{
    QProcessEnvironment changes;
    changes.insert("XDG_RUNTIME_DIR", runtime.isEmpty() ? m_runtime.path() : runtime);
    if (!temporary.isEmpty())
        changes.insert("TMPDIR", temporary);
    if (unprivileged && ::geteuid() == 0) {
        const QString programs = m_copies.programsFolder();
        QFile::setPermissions(programs, QFile::permissions(programs) | QFile::ReadOther | QFile::ExeOther);
        return m_copies.start(
            name, changes, QStringLiteral("setpriv"), { "--reuid=nobody", "--regid=nogroup", "--clear-groups" });
    }
    return m_copies.start(name, changes);
}

// A lock file that names no live owner, whatever is in it, is taken over:
// the copy that takes it holds it for real and keeps the next one out.
void TestInstanceLockFile::lockWithoutLiveOwnerIsTakenOver_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty (its copy was killed before writing)") << QByteArray();
    QTest::newRow("garbage") << QByteArray("garbage");
    QTest::newRow("NUL bytes (a crash lost what was written)") << QByteArray(64, '\0');
}

void TestInstanceLockFile::lockWithoutLiveOwnerIsTakenOver()
{
    QFETCH(QByteArray, content);
    QFile file(lockFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
    file.close();
    auto first = startHolder();
    QCOMPARE(answer(*first), QStringLiteral("alone"));
    auto second = startHolder();
    QCOMPARE(answer(*second), QStringLiteral("other copy running"));
    end({ first.get(), second.get() });
}

// A starting copy creates its lock file before it writes its details in it.
// Meanwhile the file is empty, and it must keep a second copy out all the same.
void TestInstanceLockFile::lockNotYetWrittenKeepsOthersOut()
{
    auto first = startHolder();
    QCOMPARE(answer(*first), QStringLiteral("alone"));
    QFile file(lockFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.close();
    auto second = startHolder();
    QCOMPARE(answer(*second), QStringLiteral("other copy running"));
    end({ first.get(), second.get() });
}

// A lock file that cannot be used at all keeps nobody out: each copy starts,
// even while another runs (were the lock usable after all, the second copy
// would be refused). A lock in a folder the copy may not write in can never be
// taken over once its owner is gone, so it is no sign of a running copy
// either; root may write anywhere, so that copy runs as nobody.
void TestInstanceLockFile::unusableLockFileLetsEveryCopyIn_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("a directory stands where the lock file goes") << "directory";
    QTest::newRow("a named pipe stands where the lock file goes") << "named pipe";
    QTest::newRow("a folder the copy may not write in holds the lock of a copy that died") << "read-only folder";
}

void TestInstanceLockFile::unusableLockFileLetsEveryCopyIn()
{
    QFETCH(QString, situation);
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    const QString folder = runtime.path();
    const QString lock = runtime.filePath(QStringLiteral("quendril.lock"));
    const bool readOnlyFolder = situation == "read-only folder";
    if (situation == "directory")
        QVERIFY(QDir().mkdir(lock));
    if (situation == "named pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
    const auto restoreFolder
        = qScopeGuard([&] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
    if (readOnlyFolder) {
        auto dead = startHolder();
        QCOMPARE(answer(*dead), QStringLiteral("alone"));
        ::kill(static_cast<pid_t>(dead->processId()), SIGKILL);
        QVERIFY(dead->waitForFinished());
        QVERIFY(QFile::rename(lockFile(), lock));
        const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(lock, readable | QFile::WriteOwner));
        // Neither the runtime folder nor the temporary one can then hold a
        // lock file of the copy's own, and both lead to this one.
        QVERIFY(QFile::setPermissions(folder, readable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));
    }
    const QString temporary = readOnlyFolder ? folder : QString();
    auto first = startHolder(QStringLiteral("quendril"), folder, temporary, readOnlyFolder);
    QCOMPARE(answer(*first), QStringLiteral("alone"));
    auto second = startHolder(QStringLiteral("quendril"), folder, temporary, readOnlyFolder);
    QCOMPARE(answer(*second), QStringLiteral("alone"));
    end({ first.get(), second.get() });
}

int main(int argc, char *argv[])
{
    return CopyHolders::main<TestInstanceLockFile>(argc, argv);
}

#include "tst_instance_lock_file.moc"

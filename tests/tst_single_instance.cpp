#include "platform/qt_platform.h"

#include <QtTest>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

// The other-copy test of the real platform, across real processes. The test
// program starts copies of itself in "holder" mode: each reports whether
// another copy was running and then stays until it is told to go.
class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void init();
    void secondCopyIsRefusedUntilTheFirstEnds();
    void killedCopyLeavesNothingBehind();
    void copiesStartedTogetherLetExactlyOneIn();
    void otherExecutableNamesDoNotCount();
    void lockWithoutLiveOwnerIsTakenOver_data();
    void lockWithoutLiveOwnerIsTakenOver();
    void lockNotYetWrittenKeepsOthersOut();
    void unusableLockFileLetsEveryCopyIn_data();
    void unusableLockFileLetsEveryCopyIn();

private:
    QTemporaryDir m_runtime;
    QTemporaryDir m_programs;
    // The copy's runtime folder is m_runtime unless given; a temporary folder
    // replaces the system's when given. Run by root, an unprivileged copy runs
    // as nobody, for whom file modes count.
    std::unique_ptr<QProcess> startHolder(const QString &name = QStringLiteral("quendril"),
        const QString &runtime = QString(), const QString &temporary = QString(), bool unprivileged = false);
    static QString answer(QProcess &holder);
    static void end(std::initializer_list<QProcess *> holders);
    QString lockFile() const { return m_runtime.filePath(QStringLiteral("quendril.lock")); }
};

void TestSingleInstance::init()
{
    QVERIFY(m_runtime.isValid() && m_programs.isValid());
    // Whatever a failed case left behind does not decide the next one.
    QFile::remove(lockFile());
}

std::unique_ptr<QProcess> TestSingleInstance::startHolder(
    const QString &name, const QString &runtime, const QString &temporary, bool unprivileged)
{
    // A copy of this test program under the given name plays the program.
    const QString executable = m_programs.filePath(name);
    if (!QFileInfo::exists(executable))
        QFile::copy(QCoreApplication::applicationFilePath(), executable);
    auto holder = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.isEmpty() ? m_runtime.path() : runtime);
    if (!temporary.isEmpty())
        env.insert("TMPDIR", temporary);
    holder->setProcessEnvironment(env);
    if (unprivileged && ::geteuid() == 0) {
        QFile::setPermissions(
            m_programs.path(), QFile::permissions(m_programs.path()) | QFile::ReadOther | QFile::ExeOther);
        holder->start(QStringLiteral("setpriv"),
            { "--reuid=nobody", "--regid=nogroup", "--clear-groups", executable, "--holder" });
    } else {
        holder->start(executable, { "--holder" });
    }
    return holder;
}

QString TestSingleInstance::answer(QProcess &holder)
{
    while (!holder.canReadLine()) {
        if (!holder.waitForReadyRead(10000))
            return QStringLiteral("no answer");
    }
    return QString::fromLatin1(holder.readLine()).trimmed();
}

void TestSingleInstance::end(std::initializer_list<QProcess *> holders)
{
    for (auto *holder : holders) {
        holder->closeWriteChannel();
        QVERIFY(holder->waitForFinished());
    }
}

void TestSingleInstance::secondCopyIsRefusedUntilTheFirstEnds()
{
    auto first = startHolder();
    QCOMPARE(answer(*first), QStringLiteral("alone"));
    auto second = startHolder();
    QCOMPARE(answer(*second), QStringLiteral("other copy running"));
    second->closeWriteChannel();
    QVERIFY(second->waitForFinished());

    first->closeWriteChannel(); // the first copy ends normally
    QVERIFY(first->waitForFinished());
    auto third = startHolder();
    QCOMPARE(answer(*third), QStringLiteral("alone"));
    third->closeWriteChannel();
    QVERIFY(third->waitForFinished());
}

void TestSingleInstance::killedCopyLeavesNothingBehind()
{
    auto first = startHolder();
    QCOMPARE(answer(*first), QStringLiteral("alone"));
    ::kill(static_cast<pid_t>(first->processId()), SIGKILL);
    QVERIFY(first->waitForFinished());
    auto next = startHolder();
    QCOMPARE(answer(*next), QStringLiteral("alone"));
    next->closeWriteChannel();
    QVERIFY(next->waitForFinished());
}

void TestSingleInstance::copiesStartedTogetherLetExactlyOneIn()
{
    for (int trial = 0; trial < 20; ++trial) {
        auto a = startHolder();
        auto b = startHolder();
        const QStringList answers = { answer(*a), answer(*b) };
        QCOMPARE(answers.count("alone"), 1);
        QCOMPARE(answers.count("other copy running"), 1);
        end({ a.get(), b.get() });
    }
}

void TestSingleInstance::otherExecutableNamesDoNotCount()
{
    auto first = startHolder("quendril");
    QCOMPARE(answer(*first), QStringLiteral("alone"));
    auto renamed = startHolder("quendril-copy");
    QCOMPARE(answer(*renamed), QStringLiteral("alone"));
    end({ first.get(), renamed.get() });
}

// A lock file that names no live owner, whatever is in it, is taken over:
// the copy that takes it holds it for real and keeps the next one out.
void TestSingleInstance::lockWithoutLiveOwnerIsTakenOver_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty (its copy was killed before writing)") << QByteArray();
    QTest::newRow("garbage") << QByteArray("garbage");
    QTest::newRow("NUL bytes (a crash lost what was written)") << QByteArray(64, '\0');
}

void TestSingleInstance::lockWithoutLiveOwnerIsTakenOver()
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
void TestSingleInstance::lockNotYetWrittenKeepsOthersOut()
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
void TestSingleInstance::unusableLockFileLetsEveryCopyIn_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("a directory stands where the lock file goes") << "directory";
    QTest::newRow("a named pipe stands where the lock file goes") << "named pipe";
    QTest::newRow("a folder the copy may not write in holds the lock of a copy that died") << "read-only folder";
}

void TestSingleInstance::unusableLockFileLetsEveryCopyIn()
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

namespace {

int runHolder()
{
    QtPlatform platform;
    QTextStream out(stdout);
    out << (platform.otherCopyRunning() ? "other copy running" : "alone") << Qt::endl;
    // Stay until the test closes our input.
    QTextStream in(stdin);
    while (!in.atEnd())
        in.readLine();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--holder") == 0) {
        QCoreApplication app(argc, argv);
        return runHolder();
    }
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_single_instance.moc"

#include "platform/qt_platform.h"

#include <QtTest>

#include <csignal>

#include <sys/stat.h>

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
    void unusableLockFileLetsEveryCopyIn_data();
    void unusableLockFileLetsEveryCopyIn();

private:
    QTemporaryDir m_runtime;
    QTemporaryDir m_programs;
    // The copy's runtime folder is m_runtime unless given; a temporary folder
    // replaces the system's when given.
    std::unique_ptr<QProcess> startHolder(const QString &name = QStringLiteral("quendril"),
        const QString &runtime = QString(), const QString &temporary = QString());
    static QString answer(QProcess &holder);
};

void TestSingleInstance::init()
{
    QVERIFY(m_runtime.isValid() && m_programs.isValid());
}

std::unique_ptr<QProcess> TestSingleInstance::startHolder(
    const QString &name, const QString &runtime, const QString &temporary)
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
    holder->start(executable, { "--holder" });
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
        for (auto *holder : { a.get(), b.get() }) {
            holder->closeWriteChannel();
            QVERIFY(holder->waitForFinished());
        }
    }
}

void TestSingleInstance::otherExecutableNamesDoNotCount()
{
    auto first = startHolder("quendril");
    QCOMPARE(answer(*first), QStringLiteral("alone"));
    auto renamed = startHolder("quendril-copy");
    QCOMPARE(answer(*renamed), QStringLiteral("alone"));
    for (auto *holder : { first.get(), renamed.get() }) {
        holder->closeWriteChannel();
        QVERIFY(holder->waitForFinished());
    }
}

// A lock file that cannot be created or read at all keeps nobody out: each
// copy starts, even while another runs (were the lock usable after all, the
// second copy would be refused). The tests may run as root, for whom no folder
// is read-only: a folder that is a regular file stands in for one.
void TestSingleInstance::unusableLockFileLetsEveryCopyIn_data()
{
    QTest::addColumn<QString>("inItsPlace");
    QTest::addColumn<bool>("foldersAreFiles");
    QTest::newRow("a directory stands where the lock file goes") << "directory" << false;
    QTest::newRow("a named pipe stands where the lock file goes") << "named pipe" << false;
    QTest::newRow("the runtime and temporary folders are regular files") << "" << true;
}

void TestSingleInstance::unusableLockFileLetsEveryCopyIn()
{
    QFETCH(QString, inItsPlace);
    QFETCH(bool, foldersAreFiles);
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QString folder = runtime.path();
    const QString lock = runtime.filePath(QStringLiteral("quendril.lock"));
    if (inItsPlace == "directory")
        QVERIFY(QDir().mkdir(lock));
    if (inItsPlace == "named pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
    if (foldersAreFiles) {
        folder = runtime.filePath(QStringLiteral("plain"));
        QFile plain(folder);
        QVERIFY(plain.open(QIODevice::WriteOnly));
    }
    const QString temporary = foldersAreFiles ? folder : QString();
    auto first = startHolder(QStringLiteral("quendril"), folder, temporary);
    QCOMPARE(answer(*first), QStringLiteral("alone"));
    auto second = startHolder(QStringLiteral("quendril"), folder, temporary);
    QCOMPARE(answer(*second), QStringLiteral("alone"));
    for (auto *holder : { first.get(), second.get() }) {
        holder->closeWriteChannel();
        QVERIFY(holder->waitForFinished());
    }
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

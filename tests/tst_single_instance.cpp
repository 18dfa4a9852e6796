#include "platform/qt_platform.h"

#include <QtTest>

#include <csignal>

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

private:
    QTemporaryDir m_runtime;
    QTemporaryDir m_programs;
    std::unique_ptr<QProcess> startHolder(const QString &name = QStringLiteral("quendril"));
    static QString answer(QProcess &holder);
};

void TestSingleInstance::init()
{
    QVERIFY(m_runtime.isValid() && m_programs.isValid());
}

std::unique_ptr<QProcess> TestSingleInstance::startHolder(const QString &name)
{
    // A copy of this test program under the given name plays the program.
    const QString executable = m_programs.filePath(name);
    if (!QFileInfo::exists(executable))
        QFile::copy(QCoreApplication::applicationFilePath(), executable);
    auto holder = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", m_runtime.path());
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

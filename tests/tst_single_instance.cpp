#include "support/copy_holder.h"

// The other-copy guard of the real platform, across real processes, as it
// works on every system: copies of this test program play the program.
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
    CopyHolders m_copies;
    // Where the lock file goes on Linux and other Unix systems.
    std::unique_ptr<QProcess> startHolder(const QString &name = QStringLiteral("quendril"))
    {
        QProcessEnvironment runtime;
        runtime.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        return m_copies.start(name, runtime);
    }
    static QString answer(QProcess &holder) { return CopyHolders::answer(holder); }
    static void end(std::initializer_list<QProcess *> holders) { CopyHolders::end(holders); }
};

void TestSingleInstance::init()
{
    QVERIFY(m_runtime.isValid() && m_copies.isValid());
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
    first->kill();
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
        QStringList answers = { answer(*a), answer(*b) };
        answers.sort();
        QCOMPARE(answers, QStringList({ "alone", "other copy running" }));
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

int main(int argc, char *argv[])
{
    return CopyHolders::main<TestSingleInstance>(argc, argv);
}

#include "tst_single_instance.moc"

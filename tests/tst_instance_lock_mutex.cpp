#include "support/copy_holder.h"

#include "product/product.h"

#include <windows.h>

#include <lmcons.h>

// The other-copy guard's named mutex on Windows, held by something other than
// a copy started the usual way: a copy with higher rights than the new one,
// and another kind of object under the same name.
class TestInstanceLockMutex : public QObject {
    Q_OBJECT

private slots:
    void init();
    void mutexNameTakenElsewhere_data();
    void mutexNameTakenElsewhere();

private:
    CopyHolders m_copies;
};

namespace {

// The copies here have a file name of their own: the mutex the test makes
// under their name keeps out only them, not the copies other tests start at
// the same time in the same session.
const QString kCopyName = QStringLiteral("quendril-rights");

// The name such a copy gives its mutex, as the user running this test.
std::wstring mutexName()
{
    wchar_t user[UNLEN + 1];
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(user, &size))
        return {};
    return L"Local\\" QUENDRIL_APP_ID "." + std::wstring(user) + L"." + kCopyName.toStdWString();
}

} // namespace

void TestInstanceLockMutex::init()
{
    QVERIFY(m_copies.isValid());
}

// An elevated copy (the setup program's finish page starts one for an
// administrator) makes the mutex at a high integrity level, which a normal
// start may not open: CreateMutexW fails with "access denied". A mutex whose
// access list grants nobody anything gives a copy of the same rights the same
// answer, and that copy must count as running. An event under the name is no
// copy of ours: it makes the lock unusable, which keeps nobody out.
void TestInstanceLockMutex::mutexNameTakenElsewhere_data()
{
    QTest::addColumn<QString>("holder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a copy with rights the new one lacks") << "inaccessible mutex"
                                                          << "other copy running";
    QTest::newRow("an event of the same name") << "event"
                                               << "alone";
}

void TestInstanceLockMutex::mutexNameTakenElsewhere()
{
    QFETCH(QString, holder);
    QFETCH(QString, expected);
    const std::wstring name = mutexName();
    QVERIFY(!name.empty());
    HANDLE object = nullptr;
    if (holder == "event") {
        object = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    } else {
        // An empty access list, unlike none at all, grants nothing.
        ACL nothing;
        SECURITY_DESCRIPTOR descriptor;
        QVERIFY(InitializeAcl(&nothing, sizeof nothing, ACL_REVISION));
        QVERIFY(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
        QVERIFY(SetSecurityDescriptorDacl(&descriptor, TRUE, &nothing, FALSE));
        SECURITY_ATTRIBUTES attributes { sizeof attributes, &descriptor, FALSE };
        object = CreateMutexW(&attributes, FALSE, name.c_str());
        // Even this test may not open it a second time.
        QCOMPARE(CreateMutexW(nullptr, FALSE, name.c_str()), HANDLE(nullptr));
        QCOMPARE(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    }
    QVERIFY(object);
    const auto close = qScopeGuard([object] { CloseHandle(object); });
    auto copy = m_copies.start(kCopyName);
    const QString answer = CopyHolders::answer(*copy);
    CopyHolders::end({ copy.get() });
    QCOMPARE(answer, expected);
}

int main(int argc, char *argv[])
{
    return CopyHolders::main<TestInstanceLockMutex>(argc, argv);
}

#include "tst_instance_lock_mutex.moc"

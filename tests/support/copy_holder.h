#pragma once

#include "platform/qt_platform.h"

#include <QtTest>

#include <initializer_list>
#include <memory>

// The other-copy guard of the real platform, across real processes. A test
// program starts copies of itself in "holder" mode: each reports whether
// another copy was running and then stays until it is told to go.
class CopyHolders {
public:
    // A copy of the test program under the given name, started with these
    // changes to the environment and, where given, through a wrapper program
    // (wrapper arguments, then the copy and "--holder").
    std::unique_ptr<QProcess> start(const QString &name, const QProcessEnvironment &changes = {},
        const QString &wrapper = QString(), const QStringList &wrapperArguments = {})
    {
        const QString suffix = QFileInfo(QCoreApplication::applicationFilePath()).suffix();
        const QString executable = m_programs.filePath(suffix.isEmpty() ? name : name + u'.' + suffix);
        if (!QFileInfo::exists(executable))
            QFile::copy(QCoreApplication::applicationFilePath(), executable);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // The copy finds the libraries the test program loads from its own folder.
        env.insert(QStringLiteral("PATH"),
            QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::listSeparator()
                + env.value(QStringLiteral("PATH")));
        for (const QString &key : changes.keys())
            env.insert(key, changes.value(key));
        auto holder = std::make_unique<QProcess>();
        holder->setProcessEnvironment(env);
        if (wrapper.isEmpty())
            holder->start(executable, { QStringLiteral("--holder") });
        else
            holder->start(wrapper, wrapperArguments + QStringList { executable, QStringLiteral("--holder") });
        return holder;
    }

    QString programsFolder() const { return m_programs.path(); }
    bool isValid() const { return m_programs.isValid(); }

    // The copy's first line: "alone" or "other copy running".
    static QString answer(QProcess &holder)
    {
        while (!holder.canReadLine()) {
            if (!holder.waitForReadyRead(30000))
                return QStringLiteral("no answer (%1, exit code %2, error %3: %4; stderr: %5)")
                    .arg(holder.state() == QProcess::Running ? QStringLiteral("running") : QStringLiteral("ended"))
                    .arg(holder.exitCode())
                    .arg(holder.error())
                    .arg(holder.errorString(), QString::fromLocal8Bit(holder.readAllStandardError()));
        }
        return QString::fromLatin1(holder.readLine()).trimmed();
    }

    static void end(std::initializer_list<QProcess *> holders)
    {
        for (auto *holder : holders) {
            holder->closeWriteChannel();
            QVERIFY(holder->waitForFinished());
        }
    }

    // The main function of such a test program: a holder when asked to be
    // one, otherwise the tests.
    template <typename Test> static int main(int argc, char *argv[])
    {
        QCoreApplication app(argc, argv);
        if (argc > 1 && qstrcmp(argv[1], "--holder") == 0)
            return hold();
        Test test;
        return QTest::qExec(&test, argc, argv);
    }

private:
    static int hold()
    {
        quendril::platform::QtPlatform platform;
        QTextStream out(stdout);
        out << (platform.otherCopyRunning() ? "other copy running" : "alone") << Qt::endl;
        // Stay until the test closes our input.
        QTextStream in(stdin);
        while (!in.atEnd())
            in.readLine();
        return 0;
    }

    QTemporaryDir m_programs;
};

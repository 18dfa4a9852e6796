#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QtTest>

// Qt takes its plugins from the program's folder alone, wherever the
// program is put: never from a "plugins" folder next to that folder, which
// anyone who may write there could fill.
class TestPluginFolder : public QObject {
    Q_OBJECT

private slots:
    void pluginsComeFromTheProgramsFolder()
    {
        const QString program = QDir(QCoreApplication::applicationDirPath()).canonicalPath();
        QCOMPARE(QDir(QLibraryInfo::path(QLibraryInfo::PluginsPath)).canonicalPath(), program);
        for (const QString &folder : QCoreApplication::libraryPaths())
            QCOMPARE(QDir(folder).canonicalPath(), program);
    }
};

QTEST_GUILESS_MAIN(TestPluginFolder)
#include "tst_plugin_folder.moc"

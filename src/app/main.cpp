#include "app/quendril_app.h"
#include "platform/qt_platform.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // The program ends only through its exit screen or a refused second copy.
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows are drawn for Verdana and MS Sans Serif; where those are
    // missing, DejaVu Sans has the closest metrics.
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));

    QtPlatform platform;
    QuendrilApp app(platform);
    QApplication::setWindowIcon(app.applicationIcon());
    app.start();
    const int status = platform.processEnded() ? platform.exitStatus() : QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

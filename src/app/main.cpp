#include "app/command_line.h"
#include "app/quendril_app.h"
#include "platform/qt_platform.h"
#include "product/product.h"
#include "windows/form_support.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    quendril::app::answerCommandLine(argc, argv);

    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral(QUENDRIL_APP_ID));
    // The program ends only through its exit screen or a refused second copy.
    QApplication::setQuitOnLastWindowClosed(false);
    quendril::windows::registerFontSubstitutes();
    quendril::windows::keepDesignedStyle();

    quendril::platform::QtPlatform platform;
    quendril::app::QuendrilApp app(platform);
    QApplication::setWindowIcon(app.applicationIcon());
    app.start();
    // A refused second copy has ended inside start(), before the event loop
    // runs; asking the loop to exit before it runs does nothing.
    const int status = platform.processEnded() ? platform.exitStatus() : QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

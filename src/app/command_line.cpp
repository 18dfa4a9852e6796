#include "command_line.h"

#include "product/product.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace quendril::app {

void answerCommandLine(int argc, char *argv[])
{
    // A plain start has nothing to answer and pays for no parser.
    if (argc < 2)
        return;

    // Answering needs no display: a core application is enough.
    int coreArgc = argc;
    QCoreApplication core(coreArgc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUENDRIL_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(QUENDRIL_TITLE " gives a lost object reading by numerology."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Unknown options and other arguments are no error: the program starts.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
}

} // namespace quendril::app

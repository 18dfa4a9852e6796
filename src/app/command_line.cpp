#include "command_line.h"

#include "product/product.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <vector>

namespace quendril::app {

void answerCommandLine(int argc, char *argv[])
{
    // A plain start has nothing to answer and pays for no parser.
    if (argc < 2)
        return;

    // Answering needs no display: a core application is enough. It gets a
    // copy of the arguments, so that QApplication later reads them as given.
    std::vector<char *> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    int coreArgc = argc;
    QCoreApplication core(coreArgc, arguments.data());
    QCoreApplication::setApplicationVersion(QStringLiteral(QUENDRIL_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(QUENDRIL_TITLE " gives a lost object reading by numerology.\n")
        + QStringLiteral("Qt's standard options (-style, -platform, -reverse and the others) are passed to Qt."));
    // Qt's options are words after a single dash (-reverse, -stylesheet file):
    // read such a word whole, as Qt does, never as a row of one-letter options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Only our own options are listed; Qt's would need a display to be
    // listed, so --help-all is not offered, and answers as --help does.
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Displays this help."));
    parser.addOption(help);
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(helpAll);
    const QCommandLineOption version = parser.addVersionOption();
    // Unknown options and other arguments are no error: the program starts.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help) || parser.isSet(helpAll))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
}

} // namespace quendril::app

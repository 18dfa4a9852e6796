#pragma once

namespace quendril::app {

// Answers -h/--help and -v/--version as desktop programs do, on standard
// output, and ends the process. Anything else, Qt's standard options among it,
// is left to QApplication, and the call returns.
void answerCommandLine(int argc, char *argv[]);

} // namespace quendril::app

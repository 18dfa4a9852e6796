#pragma once

namespace quendril::app {

// Answers --help and --version as desktop programs do, on standard output,
// and ends the process. Any other argument is ignored and the call returns.
void answerCommandLine(int argc, char *argv[]);

} // namespace quendril::app

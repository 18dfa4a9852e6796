#pragma once

#include <QIcon>

namespace quendril::app {

// The application icon, drawn from its SVG file. The sizes a window needs
// when it first appears come from renderings of that file made when the
// program was built, so that showing it loads no SVG renderer; any other
// size or mode is drawn from the SVG file when it is first asked for (from a
// 256 px rendering where Qt is built without SVG support).
QIcon makeApplicationIcon();

} // namespace quendril::app

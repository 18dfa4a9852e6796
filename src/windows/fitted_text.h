#pragma once

#include <QStringList>

class QCheckBox;
class QLabel;
class QWidget;

namespace quendril::windows {

// Texts that name the maker's site are as long as the address the program is
// built with, which may be longer than the one the windows are drawn for.
// These functions set such a text so that all of it shows, inside its window.
// A text that fits its control at the size its Designer file gives it is set
// as it is, and nothing moves.

// Sets a label's text, and its accessible name to the same. Where the label
// cannot show it in its width, even by word-wrapping, the text is set in lines
// that fit; where the label is too low for its lines, it grows downwards
// (growDownwards). `alsoShown` names texts the label may show instead: it
// takes the height of the tallest, so the window keeps one size.
void setFittedText(QLabel *label, const QString &text, const QStringList &alsoShown = {});

// The same for a check box, which cannot wrap its text: where it is wider than
// the room beside the box, it is set in lines, and the check box grows by the
// height of the lines added.
void setFittedText(QCheckBox *box, const QString &text);

// Makes a control so many pixels taller at its lower edge. In its container,
// what starts below its top moves down by as much, and what reaches from
// above past its lower edge grows by as much (a panel beside it, whose
// controls from that height down move down with its lower edge); the
// container itself grows by as much, and at least enough to show the grown
// control, and so on up to the window, which grows with them.
void growDownwards(QWidget *widget, int extra);

} // namespace quendril::windows

#include "fitted_text.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextLayout>

#include <algorithm>

namespace quendril::windows {

namespace {

struct Lines {
    QStringList text;
    bool fit = true; // every line keeps within the width
};

Lines layOut(const QString &text, const QFont &font, int width, QTextOption::WrapMode mode)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(mode);
    layout.setTextOption(option);
    Lines lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.fit = lines.fit && line.naturalTextWidth() <= width;
        QString part = text.mid(line.textStart(), line.textLength());
        while (part.endsWith(u' '))
            part.chop(1);
        lines.text << part;
    }
    layout.endLayout();
    return lines;
}

// The lines a text takes in a width of so many pixels: broken where a line
// may break (after a space or a hyphen, after "//"), and inside a word only
// where the word alone is wider than the line.
QStringList wrappedLines(const QString &text, const QFont &font, int width)
{
    return layOut(text, font, width, QTextOption::WrapAtWordBoundaryOrAnywhere).text;
}

// Sets the text as the label shows it: as it is where the label's own
// word-wrapping (or a single line) shows all of it, in fitting lines otherwise.
void setShownText(QLabel *label, const QString &text)
{
    const int width = label->contentsRect().width();
    const auto mode = label->wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap;
    const bool fits = layOut(text, label->font(), width, mode).fit;
    label->setText(fits ? text : wrappedLines(text, label->font(), width).join(u'\n'));
}

int neededHeight(const QLabel *label)
{
    return label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
}

// A window, or a part that a layout places (a main window's central part):
// its size is its own, not its container's business.
bool sizedByItself(const QWidget *widget)
{
    const QWidget *container = widget->parentWidget();
    return widget->isWindow() || !container || (container->layout() && container->layout()->indexOf(widget) >= 0);
}

// A panel that only holds controls placed by hand, and can make room among them.
bool isPanel(const QWidget *widget)
{
    return !widget->layout()
        && (qobject_cast<const QGroupBox *>(widget) || widget->metaObject() == &QFrame::staticMetaObject);
}

// Makes so many pixels of room across a panel at the height `line`: what
// starts there or below moves down, what reaches across it grows, and a panel
// that grows makes the room inside itself as well.
void makeRoomAcross(QWidget *panel, int line, int extra)
{
    for (QWidget *child : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->y() >= line) {
            child->move(child->x(), child->y() + extra);
        } else if (child->y() + child->height() > line) {
            child->resize(child->width(), child->height() + extra);
            if (isPanel(child))
                makeRoomAcross(child, line - child->y(), extra);
        }
    }
}

// Makes the first `height` pixels of a control show: it grows where it is
// lower, its container where the control reaches past it.
void makeRoom(QWidget *widget, int height)
{
    if (height > widget->height()) {
        growDownwards(widget, height - widget->height());
    } else if (!sizedByItself(widget)) {
        QWidget *container = widget->parentWidget();
        growDownwards(container, widget->y() + height - container->height());
    }
}

} // namespace

void setFittedText(QLabel *label, const QString &text, const QStringList &alsoShown)
{
    int needed = 0;
    for (const QString &other : alsoShown) {
        setShownText(label, other);
        needed = std::max(needed, neededHeight(label));
    }
    setShownText(label, text);
    // Read whole, wherever it was broken into lines.
    label->setAccessibleName(text);
    makeRoom(label, std::max(needed, neededHeight(label)));
}

void setFittedText(QCheckBox *box, const QString &text)
{
    box->setText(text);
    box->setAccessibleName(text);
    QStyleOptionButton option;
    option.initFrom(box);
    const int width = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
    const QStringList lines = wrappedLines(text, box->font(), width);
    if (lines.size() < 2)
        return;
    const int oneLine = box->sizeHint().height();
    box->setText(lines.join(u'\n'));
    // The box measures its text in whole pixels, which at a fractional scale
    // can come out a pixel wider than the lines were laid out in.
    if (const int over = box->sizeHint().width() - box->width(); over > 0)
        box->setText(wrappedLines(text, box->font(), width - over).join(u'\n'));
    growDownwards(box, box->sizeHint().height() - oneLine);
}

void growDownwards(QWidget *widget, int extra)
{
    if (extra <= 0)
        return;
    if (sizedByItself(widget)) {
        widget->setFixedHeight(widget->height() + extra);
        // A window sized by its layout takes the new size at once.
        if (!widget->isWindow() && widget->parentWidget() && widget->parentWidget()->layout())
            widget->parentWidget()->layout()->activate();
        return;
    }
    QWidget *container = widget->parentWidget();
    const QRect was = widget->geometry();
    for (QWidget *sibling : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (sibling == widget || sibling->isWindow())
            continue;
        if (sibling->y() > was.top()) {
            sibling->move(sibling->x(), sibling->y() + extra);
        } else if (sibling->geometry().bottom() > was.bottom()) {
            sibling->resize(sibling->width(), sibling->height() + extra);
            if (isPanel(sibling))
                makeRoomAcross(sibling, was.bottom() + 1 - sibling->y(), extra);
        }
    }
    widget->resize(was.width(), was.height() + extra);
    growDownwards(container, std::max(extra, widget->y() + widget->height() - container->height()));
}

} // namespace quendril::windows

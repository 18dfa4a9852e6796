#include "form_support.h"

#include "product/product.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShortcutEvent>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace quendril::windows {

namespace {

class AccessKeyClicker final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut || static_cast<QShortcutEvent *>(event)->isAmbiguous())
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || button->isCheckable() || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

// Switches a group of commands on and off with the window's visibility; a
// window that is only minimised keeps them.
class CommandsWhileShown final : public QObject {
public:
    CommandsWhileShown(QWidget *window, QActionGroup *commands)
        : QObject(window)
        , m_window(window)
        , m_commands(commands)
    {
        update();
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
            update();
        return false;
    }

private:
    void update() { m_commands->setEnabled(m_window->isVisible()); }

    QWidget *m_window;
    QActionGroup *m_commands;
};

void collectCommands(const QList<QAction *> &actions, QActionGroup *commands)
{
    for (QAction *action : actions) {
        if (action->isSeparator())
            continue;
        commands->addAction(action);
        if (action->menu())
            collectCommands(action->menu()->actions(), commands);
    }
}

} // namespace

QString faceForDesignedFamily(const QString &designed, const std::function<bool(const QString &)> &usable)
{
    if (usable(designed))
        return designed;
    // MS Sans Serif is a bitmap font, which Qt may not draw at every size;
    // Windows carries its outline twin.
    QStringList candidates;
    if (designed.compare(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive) == 0)
        candidates << QStringLiteral("Microsoft Sans Serif");
    // The stand-ins: DejaVu Sans has Verdana's metrics closest (the Debian
    // package depends on it); Tahoma is the face Wine brings.
    candidates << QStringLiteral("DejaVu Sans") << QStringLiteral("Tahoma");
    for (const QString &candidate : std::as_const(candidates)) {
        if (usable(candidate))
            return candidate;
    }
    return designed;
}

void registerFontSubstitutes()
{
    const QStringList installed = QFontDatabase::families();
    const auto usable = [&installed](const QString &family) {
        return installed.contains(family, Qt::CaseInsensitive) && QFontDatabase::isSmoothlyScalable(family);
    };
    for (const QString &designed : { QStringLiteral("Verdana"), QStringLiteral("MS Sans Serif") }) {
        if (const QString face = faceForDesignedFamily(designed, usable); face != designed)
            QFont::insertSubstitution(designed, face);
    }
}

void keepDesignedStyle()
{
    if (QApplication::style()->name().compare(QStringLiteral("windows11"), Qt::CaseInsensitive) != 0)
        return;
    if (QStyle *classic = QStyleFactory::create(QStringLiteral("windowsvista")))
        QApplication::setStyle(classic);
}

void applyDesignFonts(QWidget *root)
{
    const auto apply = [](QWidget *widget) {
        const QVariant size = widget->property("pointSizeF");
        if (!size.isValid() && !widget->testAttribute(Qt::WA_SetFont))
            return;
        QFont font = widget->font();
        if (size.isValid())
            font.setPointSizeF(size.toDouble());
        // A designed family that is not installed is asked for by its stand-in's
        // name: the same face, without a failed search for every size and weight.
        if (const QStringList standIns = QFont::substitutes(font.family()); !standIns.isEmpty())
            font.setFamilies({ standIns.first() });
        widget->setFont(font);
    };
    apply(root);
    for (QWidget *child : root->findChildren<QWidget *>())
        apply(child);
}

void setUpWindow(QWidget *window, const QIcon &icon)
{
    applyDesignFonts(window);
    window->setWindowTitle(QStringLiteral(QUENDRIL_CAPTION));
    window->setWindowIcon(icon);
    makeFixedWindow(window);
    clickAccessKeysAtOnce(window);
}

void makeFixedWindow(QWidget *window)
{
    const Qt::WindowFlags type = window->windowFlags() & Qt::WindowType_Mask;
    // Not Windows' fixed dialog frame: it would keep the window at its size in
    // device pixels when moved to a screen of another density. The fixed size
    // alone keeps the user from resizing it.
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint);
    if (QLayout *layout = window->layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    else
        window->setFixedSize(window->size());
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->adjustSize();
    QRect frame(QPoint(), window->size());
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void installDefaultAndCancel(QWidget *window, QAbstractButton *defaultButton, QAbstractButton *cancelButton)
{
    const auto pressDefault = [window, defaultButton] {
        if (auto *focused = qobject_cast<QPushButton *>(window->focusWidget()); focused && focused->isEnabled()) {
            focused->click();
            return;
        }
        if (defaultButton && defaultButton->isEnabled())
            defaultButton->click();
    };
    for (const auto key : { Qt::Key_Return, Qt::Key_Enter }) {
        auto *shortcut = new QShortcut(QKeySequence(key), window);
        QObject::connect(shortcut, &QShortcut::activated, window, pressDefault);
    }
    if (cancelButton) {
        auto *shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
        QObject::connect(shortcut, &QShortcut::activated, cancelButton, [cancelButton] {
            if (cancelButton->isEnabled())
                cancelButton->click();
        });
    }
}

void clickAccessKeysAtOnce(QWidget *window)
{
    auto *clicker = new AccessKeyClicker(window);
    for (QPushButton *button : window->findChildren<QPushButton *>())
        button->installEventFilter(clicker);
}

void offerMenusOnlyWhileShown(QMainWindow *window)
{
    auto *commands = new QActionGroup(window);
    commands->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    collectCommands(window->menuBar()->actions(), commands);
    new CommandsWhileShown(window, commands);
}

} // namespace quendril::windows

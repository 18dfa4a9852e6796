#pragma once

#include "app/quendril_app.h"
#include "fake_platform.h"
#include "site/site_address.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <memory>

// The whole application over a fake platform, for driving its windows.
struct AppFixture {
    FakePlatform platform;
    std::unique_ptr<quendril::app::QuendrilApp> app = std::make_unique<quendril::app::QuendrilApp>(platform);

    ~AppFixture()
    {
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename T> static T *child(QWidget *window, const char *name)
    {
        auto *found = window->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no child %s", name);
        return found;
    }

    static QString page(QStringView key) { return quendril::site::SitePageAddress(key); }

    // Gives the window the keyboard, as a user's click on it would.
    static bool activate(QWidget *window)
    {
        window->activateWindow();
        // Room for a window system that answers at half speed.
        return QTest::qWaitForWindowActive(window, 30000);
    }

    // A key as the system delivers it, with the character it types.
    static void sendKey(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString &text)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(target, &release);
    }

    // Processes the deletion of closed windows.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

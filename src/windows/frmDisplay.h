#pragma once

#include "closing_main_window.h"

#include <memory>

namespace Ui {
class frmDisplay;
}

namespace quendril::windows {

class WindowHost;

// The window that shows a reading: its number and its text.
class frmDisplay : public ClosingMainWindow {
    Q_OBJECT

public:
    explicit frmDisplay(WindowHost &host);
    ~frmDisplay() override;

    // Fills the two result labels.
    void setReading(const QString &location, const QString &number);
    QString readingText() const;
    QString readingNumber() const;
    // Shows the window, modeless, with the focus on Exit.
    void showResult();

private:
    void cmdBack_Click();

    std::unique_ptr<Ui::frmDisplay> ui;
};

} // namespace quendril::windows

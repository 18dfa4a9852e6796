#pragma once

#include "closing_main_window.h"

#include <cstdint>
#include <memory>

class QLabel;
namespace Ui {
class frmMain;
}

namespace quendril::windows {

class WindowHost;

// The window in which the user types the nine-digit number.
class frmMain : public ClosingMainWindow {
    Q_OBJECT

public:
    explicit frmMain(WindowHost &host);
    ~frmMain() override;

    // Applies the entry rules to the number box; on refusal it has shown the
    // message and put the focus back into the box.
    bool Validate_Number();

    // The two offers that share one place; start-up decides which is in front.
    QLabel *lblCobrand() const;
    QLabel *lblFullBrand() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txtNumber_KeyPress(std::int16_t &keyAscii);
    void cmdNext_Click();

    std::unique_ptr<Ui::frmMain> ui;
};

} // namespace quendril::windows

#pragma once

#include <QMainWindow>

#include <cstdint>
#include <memory>

class WindowHost;
class QLabel;
namespace Ui {
class frmMain;
}

// The window in which the user types the nine-digit number.
class frmMain : public QMainWindow {
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

    bool isClosing() const { return m_closing; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void txtNumber_KeyPress(std::int16_t &keyAscii);
    void cmdNext_Click();
    void cmdExit_Click();
    void Form_Unload();

    std::unique_ptr<Ui::frmMain> ui;
    WindowHost &m_host;
    bool m_closing = false;
};

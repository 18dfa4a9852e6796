#pragma once

#include <QMainWindow>

#include <memory>

class WindowHost;
namespace Ui {
class frmDisplay;
}

// The window that shows a reading: its number and its text.
class frmDisplay : public QMainWindow {
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

    bool isClosing() const { return m_closing; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdBack_Click();
    void cmdExit_Click();
    void Form_Unload();

    std::unique_ptr<Ui::frmDisplay> ui;
    WindowHost &m_host;
    bool m_closing = false;
};

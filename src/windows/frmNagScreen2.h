#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
namespace Ui {
class frmNagScreen2;
}

namespace quendril::windows {

class WindowHost;

// The exit screen: a support appeal, links and the refer-a-friend form.
// Leaving it, by Exit or by closing it, ends the program.
class frmNagScreen2 : public QWidget {
    Q_OBJECT

public:
    explicit frmNagScreen2(WindowHost &host);
    ~frmNagScreen2() override;

    bool isClosing() const { return m_closing; }

    // The refer-a-friend boxes as the form reads them; the message box keeps
    // its line breaks as carriage return and line feed.
    QString nameText() const;
    QString emailText() const;
    QString friendNameText() const;
    QString friendEmailText() const;
    QString messageText() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct Placeholder;

    void Form_Load();
    void Form_Unload();
    void cmdClose_Click();
    void cmdSubmit_Click();
    void Check1_Click();
    void gotFocus(const Placeholder &box);
    void lostFocus(const Placeholder &box);
    void emailKeyPress(QLineEdit *box, int &keyAscii);
    const Placeholder *placeholderFor(const QObject *box) const;

    std::unique_ptr<Ui::frmNagScreen2> ui;
    WindowHost &m_host;
    std::vector<Placeholder> m_placeholders;
    bool m_closing = false;
};

} // namespace quendril::windows

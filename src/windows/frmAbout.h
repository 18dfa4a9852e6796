#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmAbout;
}

namespace quendril::windows {

class WindowHost;

// The about box: fixed texts and two links into the maker's site.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(WindowHost &host);
    ~frmAbout() override;

private:
    std::unique_ptr<Ui::frmAbout> ui;
};

} // namespace quendril::windows

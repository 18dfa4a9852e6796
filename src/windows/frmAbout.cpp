#include "frmAbout.h"

#include "ui_frmAbout.h"

#include "fitted_text.h"
#include "form_support.h"
#include "platform/platform.h"
#include "product/product.h"
#include "site/site_links.h"
#include "site/site_texts.h"
#include "window_host.h"

#include <QIcon>

namespace quendril::windows {

frmAbout::frmAbout(WindowHost &host)
    : ui(std::make_unique<Ui::frmAbout>())
{
    ui->setupUi(this);
    setUpWindow(this, host.applicationIcon());
    ui->Label2->setText(windowTitle());
    setFittedText(ui->Label1, site::aboutDescription(QStringLiteral(QUENDRIL_TITLE)));
    setFittedText(ui->lblHomePage, site::homeLinkText());
    ui->picIcon->setPixmap(windowIcon().pixmap(ui->picIcon->size(), devicePixelRatio()));
    setModal(true);

    const site::SiteLinks &links = host.links();
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->lblHomePage, &ClickableLabel::clicked, this, [&links] { links.OpenHomePage(); });
    connect(ui->Label5, &ClickableLabel::clicked, this, [&links] { links.OpenFullyBrandedPage(); });
    // Qt's copyright notice and licence belong among the notices the program
    // shows (LGPL-3, section 4): Qt's own about box gives both.
    connect(ui->lblQtNotice, &ClickableLabel::clicked, this, [this, &host] { host.platform().showToolkitNotice(this); });
    ui->cmdOK->setFocus();
}

frmAbout::~frmAbout() = default;

} // namespace quendril::windows

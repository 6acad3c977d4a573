// Following the window's size, the clipboard commands and the About box.
#include "window/about_box.h"
#include "window/form_tolvane.h"
#include "window/twips.h"

#include <QAction>
#include <QFrame>
#include <QListView>
#include <QListWidget>
#include <QResizeEvent>

namespace vs {

namespace {
// The layout rules speak of the window's outer size. The designed window has a
// client area of 9255 x 6405 twips inside an outer 9285 x 7130 (borders, title
// and menu bar); measuring from the client area with those margins gives the
// designed layout whatever the desktop's decorations are.
constexpr int kOuterExtraWidth = 30;
constexpr int kOuterExtraHeight = 725;

int toTwips(int pixels)
{
    return pixels * 15;
}
}  // namespace

void formTolvane::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void formTolvane::Form_Resize()
{
    if (!frmShop)
        return;
    const int w = toTwips(centralWidget()->width()) + kOuterExtraWidth;
    const int h = toTwips(centralWidget()->height()) + kOuterExtraHeight;
    const int propertiesWidth = toTwips(frmItemProperties->width());
    const int bannerWidth = toTwips(frmBanner->width());
    if (propertiesWidth + bannerWidth < w)
        frmShop->resize(twips(w - (propertiesWidth + bannerWidth)), frmShop->height());
    if (toTwips(frmShopCtrl->height()) + 620 < h)
        frmShop->resize(frmShop->width(), twips(h - (toTwips(frmShopCtrl->height()) + 620)));
    if (frmShop->width() > twips(240))
        lstShop->resize(frmShop->width() - twips(240), lstShop->height());
    if (frmShop->height() > twips(240))
        lstShop->resize(lstShop->width(), frmShop->height() - twips(240));
    frmShopCtrl->resize(frmShop->width(), frmShopCtrl->height());
    frmBanner->move(frmShop->x() + frmShop->width(), frmBanner->y());
    for (QFrame* f : {frmSearch, frmSelector, frmDebug})
        f->move(frmBanner->x(), f->y());
    frmItemProperties->move(frmBanner->x() + frmBanner->width(), frmItemProperties->y());
}

void formTolvane::mnuVCodeCopy_Click()
{
    theItem->exportVaultCode();
    tellUser(StatusColor::White, QString("Vault Code copied to clipboard."));
}

void formTolvane::mnuShopCodeCopy_Click()
{
    theItem->exportShopCode(" ");
    tellUser(StatusColor::White, QString("Shop Code copied to clipboard."));
}

void formTolvane::mnuSize0_Click()
{
    resize(windowWidth, windowHeight);
}

void formTolvane::mnuAboutProg_Click()
{
    if (!about_) {
        about_ = new formAbout(*this, dialogs_);
        connect(about_, &QObject::destroyed, this, [this] { about_ = nullptr; });
    } else if (!about_->isVisible()) {
        about_->Form_Load();  // hidden by Escape: shown afresh, with the caption of now
    }
    about_->show();
    about_->raise();
}

}  // namespace vs

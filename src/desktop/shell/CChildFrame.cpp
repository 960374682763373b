#include "desktop/shell/CChildFrame.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <algorithm>

#include "desktop/shell/CZefastats2Doc.h"
#include "desktop/shell/CZefastats2View.h"

namespace zefa::desktop {

CChildFrame::CChildFrame(CZefastats2View* view, QWidget* parent) : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    connect(view->document(), &CZefastats2Doc::titleChanged, this, &CChildFrame::updateTitle);
    connect(view->document(), &CZefastats2Doc::modifiedChanged, this, &CChildFrame::updateTitle);
    updateTitle();
}

// The view, destroyed after this part of the frame, tells its document that
// it is gone; the document's title changes must not reach this frame then.
CChildFrame::~CChildFrame() {
    if (CZefastats2Doc* document = view()->document()) disconnect(document, nullptr, this, nullptr);
}

CZefastats2View* CChildFrame::view() const { return static_cast<CZefastats2View*>(widget()); }

void CChildFrame::ActivateFrame() {
    showMaximized();
    if (mdiArea() != nullptr) mdiArea()->setActiveSubWindow(this);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    CZefastats2Doc* document = view()->document();
    if (document != nullptr && document->views().size() == 1 && !document->saveModified(this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

// A document shown in several windows numbers them: "zefs1:1", "zefs1:2".
// Unsaved changes are marked: "zefs1 *".
void CChildFrame::updateTitle() {
    const CZefastats2Doc* document = view()->document();
    if (document == nullptr) return;
    const auto& views = document->views();
    QString title = document->title();
    if (views.size() > 1) {
        const auto position = std::ranges::find(views, view()) - views.begin();
        title += QStringLiteral(":%1").arg(position + 1);
    }
    if (document->isModified()) title += QStringLiteral(" *");
    setWindowTitle(title);
}

}  // namespace zefa::desktop

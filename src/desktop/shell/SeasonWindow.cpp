#include "desktop/shell/SeasonWindow.h"

#include <QWebEngineSettings>
#include <QWebEngineView>

#include "desktop/settings/QtText.h"

namespace zefa::desktop {

SeasonWindow::SeasonWindow(std::unique_ptr<TemporarySeasonPages> pages, const QString& title,
                           QWidget* parent)
    : QMdiSubWindow(parent), m_pages(std::move(pages)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    auto* view = new QWebEngineView(this);
    // Files dropped on the page go to the main window, which opens them.
    view->setAcceptDrops(false);
    view->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    setWidget(view);
    view->load(QUrl::fromLocalFile(qPath(m_pages->indexPage().string())));
}

SeasonWindow::~SeasonWindow() = default;

QWebEngineView* SeasonWindow::view() const { return static_cast<QWebEngineView*>(widget()); }

}  // namespace zefa::desktop

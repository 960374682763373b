#include "app/SeasonWindow.h"

#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/QtText.h"

namespace zefa {

SeasonWindow::SeasonWindow(std::unique_ptr<SeasonSite> site, const QString& title, QWidget* parent)
    : QMdiSubWindow(parent), m_site(std::move(site)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    auto* view = new QWebEngineView(this);
    // Files dropped on the page go to the main window, which opens them.
    view->setAcceptDrops(false);
    view->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    setWidget(view);
    view->load(QUrl::fromLocalFile(qPath(m_site->indexPage().string())));
}

SeasonWindow::~SeasonWindow() = default;

QWebEngineView* SeasonWindow::view() const { return static_cast<QWebEngineView*>(widget()); }

}  // namespace zefa

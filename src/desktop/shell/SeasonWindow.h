#pragma once

#include <QMdiSubWindow>
#include <memory>

#include "desktop/core/TemporarySeasonPages.h"

class QWebEngineView;

namespace zefa::desktop {

// A document window showing a season's pages, starting at its index; links
// between the pages are followed inside the window. The pages' temporary
// folder belongs to the window and goes with it. The view's Reload (its
// context menu's, or F5) makes the pages again from the store first.
class SeasonWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    SeasonWindow(std::unique_ptr<TemporarySeasonPages> pages, const QString& title,
                 QWidget* parent = nullptr);
    ~SeasonWindow() override;

    [[nodiscard]] QWebEngineView* view() const;
    [[nodiscard]] const TemporarySeasonPages& pages() const { return *m_pages; }

    // Brings the pages up to date with the store and shows the page shown
    // before again, or the index when that page has gone.
    void rebuild();

signals:
    // Some pages could not be made at a rebuild: pages().problem() says which.
    void pagesMissing();

private:
    std::unique_ptr<TemporarySeasonPages> m_pages;
};

}  // namespace zefa::desktop

#pragma once

#include <QMdiSubWindow>
#include <memory>

#include "desktop/core/TemporarySeasonPages.h"

class QWebEngineView;

namespace zefa::desktop {

// A document window showing a season's pages, starting at its index; links
// between the pages are followed inside the window. The pages' temporary
// folder belongs to the window and goes with it.
class SeasonWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    SeasonWindow(std::unique_ptr<TemporarySeasonPages> pages, const QString& title,
                 QWidget* parent = nullptr);
    ~SeasonWindow() override;

    [[nodiscard]] QWebEngineView* view() const;
    [[nodiscard]] const TemporarySeasonPages& pages() const { return *m_pages; }

private:
    std::unique_ptr<TemporarySeasonPages> m_pages;
};

}  // namespace zefa::desktop

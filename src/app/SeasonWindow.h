#pragma once

#include <QMdiSubWindow>
#include <memory>

#include "app/SeasonSite.h"

class QWebEngineView;

namespace zefa {

// A document window showing a season's pages, starting at its index; links
// between the pages are followed inside the window. The pages' temporary
// folder belongs to the window and goes with it.
class SeasonWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    SeasonWindow(std::unique_ptr<SeasonSite> site, const QString& title, QWidget* parent = nullptr);
    ~SeasonWindow() override;

    [[nodiscard]] QWebEngineView* view() const;
    [[nodiscard]] const SeasonSite& site() const { return *m_site; }

private:
    std::unique_ptr<SeasonSite> m_site;
};

}  // namespace zefa

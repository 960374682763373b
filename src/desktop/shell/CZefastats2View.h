#pragma once

#include <QPointer>
#include <QWebEngineView>

namespace zefa::desktop {

class CZefastats2Doc;
struct ShellContext;

// Shows a document's page in an embedded browser; one of possibly several
// views of one document.
class CZefastats2View : public QWebEngineView {
    Q_OBJECT

public:
    CZefastats2View(CZefastats2Doc& document, ShellContext& context, QWidget* parent = nullptr);
    ~CZefastats2View() override;

    [[nodiscard]] CZefastats2Doc* document() const { return m_document; }

    // Shows the document's page for the first time.
    void OnInitialUpdate();
    // Shows the document's page again, as it is now.
    void OnUpdate();

public slots:
    // Modify > Select Theme and Select Logfile: a new file for the document,
    // a new page, and every view of the document shows it.
    void selectTheme();
    void selectLogfile();

private:
    struct Selection;
    void select(const Selection& selection);

    QPointer<CZefastats2Doc> m_document;
    ShellContext& m_context;
};

}  // namespace zefa::desktop

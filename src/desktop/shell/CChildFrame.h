#pragma once

#include <QMdiSubWindow>

namespace zefa::desktop {

class CZefastats2View;

// The window around one view of a document, titled with the document's
// title and a mark while it has unsaved changes. It opens maximised.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit CChildFrame(CZefastats2View* view, QWidget* parent = nullptr);
    ~CChildFrame() override;

    [[nodiscard]] CZefastats2View* view() const;
    // Shows the frame maximised and active, whatever state it was in.
    void ActivateFrame();

protected:
    // Closing a modified document's last window asks whether to save it.
    void closeEvent(QCloseEvent* event) override;

private:
    void updateTitle();
};

}  // namespace zefa::desktop

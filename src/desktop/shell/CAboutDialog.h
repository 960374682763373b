#pragma once

#include <QDialog>
#include <string>

class QShowEvent;

namespace zefa::desktop {

class CCreditsScroller;

// The About box: the program's icon, its credits rising on a black panel, and OK.
class CAboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    CCreditsScroller* m_scroller;  // a child of the dialog
    std::string creditsText;
};

}  // namespace zefa::desktop

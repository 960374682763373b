#pragma once

#include <QObject>
#include <array>

class QLabel;
class QStatusBar;

namespace zefa::desktop {

// The status bar's "CAP", "NUM" and "SCRL" panes: shown enabled while their
// lock key is on. Only the X11 window system tells the lock keys' state;
// elsewhere the panes stay disabled.
class LockKeyIndicators : public QObject {
    Q_OBJECT

public:
    explicit LockKeyIndicators(QStatusBar& statusBar);

    // Reads the keyboard's state again.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, 3> m_panes{};
};

}  // namespace zefa::desktop

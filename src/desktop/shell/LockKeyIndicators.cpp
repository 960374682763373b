#include "desktop/shell/LockKeyIndicators.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

#include "desktop/settings/QtText.h"
#include "desktop/shell/ShellMenus.h"
#include "desktop/shell/X11LockKeys.h"

namespace zefa::desktop {

LockKeyIndicators::LockKeyIndicators(QStatusBar& statusBar) : QObject(&statusBar) {
    for (std::size_t i = 0; i < kLockKeyPanes.size(); ++i) {
        m_panes[i] = new QLabel(qText(kLockKeyPanes[i]), &statusBar);
        m_panes[i]->setAlignment(Qt::AlignCenter);
        m_panes[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar.addPermanentWidget(m_panes[i]);
    }
    qGuiApp->installEventFilter(this);
    refresh();
}

void LockKeyIndicators::refresh() {
    const std::array<bool, 3> on = x11LockKeys().value_or(std::array<bool, 3>{});
    for (std::size_t i = 0; i < m_panes.size(); ++i) m_panes[i]->setEnabled(on[i]);
}

// A key may have toggled a lock, in this program or, while it was in the
// background, in another one.
bool LockKeyIndicators::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyRelease || type == QEvent::ApplicationActivate) refresh();
    return QObject::eventFilter(watched, event);
}

}  // namespace zefa::desktop

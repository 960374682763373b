#include "desktop/shell/CZefastats2App.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

#include "desktop/core/BatchRun.h"
#include "desktop/settings/SessionSettings.h"
#include "desktop/shell/AppIcon.h"
#include "desktop/shell/CMainFrame.h"
#include "desktop/shell/ShellContext.h"

namespace zefa::desktop {

CZefastats2App::CZefastats2App(StartupArguments arguments, std::optional<std::time_t> pageClock,
                               ShellDialogs dialogs)
    : m_arguments(std::move(arguments)),
      m_settings(std::make_unique<SessionSettings>()),
      m_context(std::make_unique<ShellContext>(*m_settings, pageClock, std::move(dialogs))) {
    QApplication::setWindowIcon(appIcon());
}

// The main window goes first: its documents remove their page files.
CZefastats2App::~CZefastats2App() { m_mainFrame.reset(); }

int CZefastats2App::run() {
    const bool started = InitInstance();
    const int status = m_arguments.logFile ? (started ? 0 : 1) : QApplication::exec();
    ExitInstance();
    return status;
}

bool CZefastats2App::InitInstance() {
    m_mainFrame = std::make_unique<CMainFrame>(*m_context);
    if (m_arguments.logFile) {
        CMainFrame* owner = m_mainFrame.get();
        return runBatch(*m_arguments.logFile, m_settings->generation, m_settings->recentFiles,
                        m_context->pageClock, [this, owner](const UserMessage& message) {
                            if (message.aside) return tellOnStandardError(message);
                            m_context->dialogs.tell(owner, message);
                        });
    }
    const QRect screen = m_mainFrame->screen()->availableGeometry();
    m_mainFrame->setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, screen.size() * 3 / 4, screen));
    m_mainFrame->show();
    m_mainFrame->OnFileNew();
    return true;
}

void CZefastats2App::ExitInstance() { m_settings->save(); }

}  // namespace zefa::desktop

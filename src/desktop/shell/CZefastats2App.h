#pragma once

#include <QObject>
#include <ctime>
#include <memory>
#include <optional>

#include "desktop/core/StartupArguments.h"
#include "desktop/shell/ShellDialogs.h"

namespace zefa::desktop {

class CMainFrame;
class SessionSettings;
struct ShellContext;

// The desktop program: starts up, runs until the user ends it and writes the
// settings back at every exit. Needs a QApplication.
class CZefastats2App : public QObject {
    Q_OBJECT

public:
    CZefastats2App(StartupArguments arguments, std::optional<std::time_t> pageClock,
                   ShellDialogs dialogs = ShellDialogs::interactive());
    ~CZefastats2App() override;

    // The whole run; returns the exit status.
    int run();

    // Loads the settings, creates the main window and does what the command
    // line asks: the batch run for a log (false when it failed), else the main
    // window and File New.
    bool InitInstance();
    // Writes the settings back.
    void ExitInstance();

    [[nodiscard]] CMainFrame* mainFrame() const { return m_mainFrame.get(); }
    [[nodiscard]] ShellContext& context() const { return *m_context; }

private:
    StartupArguments m_arguments;
    std::unique_ptr<SessionSettings> m_settings;
    std::unique_ptr<ShellContext> m_context;
    std::unique_ptr<CMainFrame> m_mainFrame;
};

}  // namespace zefa::desktop

#pragma once

#include <QObject>
#include <ctime>
#include <memory>
#include <optional>

#include "app/SessionSettings.h"
#include "app/StartupArguments.h"

namespace zefa {

class CMainFrame;

// The desktop program: starts up, runs until the user ends it and writes the
// settings back at every exit. Needs a QApplication.
class CZefastats2App : public QObject {
    Q_OBJECT

public:
    CZefastats2App(StartupArguments arguments, std::optional<std::time_t> pageClock);
    ~CZefastats2App() override;

    // The whole run; returns the exit status.
    int run();

private:
    bool InitInstance();
    void ExitInstance();

    StartupArguments m_arguments;
    std::optional<std::time_t> m_pageClock;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<SessionSettings> m_settings;
};

}  // namespace zefa

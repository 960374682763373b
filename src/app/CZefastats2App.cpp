#include "app/CZefastats2App.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

#include "app/BatchRun.h"
#include "app/CMainFrame.h"
#include "app/QtText.h"

namespace zefa {

namespace {

MessageSink messageBoxesOwnedBy(QWidget* owner) {
    return [owner](const UserMessage& message) {
        QMessageBox box(QMessageBox::Warning, qText(message.caption), qText(message.text),
                        QMessageBox::Ok, owner);
        box.exec();
    };
}

}  // namespace

CZefastats2App::CZefastats2App(StartupArguments arguments, std::optional<std::time_t> pageClock)
    : m_arguments(std::move(arguments)), m_pageClock(pageClock) {}

CZefastats2App::~CZefastats2App() = default;

int CZefastats2App::run() {
    const bool started = InitInstance();
    const int status = m_arguments.logFile ? (started ? 0 : 1) : QApplication::exec();
    ExitInstance();
    return status;
}

bool CZefastats2App::InitInstance() {
    m_mainFrame = std::make_unique<CMainFrame>();
    m_settings = std::make_unique<SessionSettings>();
    if (m_arguments.logFile)
        return runBatch(*m_arguments.logFile, m_settings->generation, m_settings->recentFiles,
                        m_pageClock, messageBoxesOwnedBy(m_mainFrame.get()));
    m_mainFrame->show();
    m_mainFrame->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                                                 m_mainFrame->size(),
                                                 m_mainFrame->screen()->availableGeometry()));
    return true;
}

void CZefastats2App::ExitInstance() {
    if (m_settings) m_settings->save();
}

}  // namespace zefa

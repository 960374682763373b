#pragma once

// The desktop program started with dialogs that answer from scripts, so that
// its windows can be driven without anybody at the keyboard.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "desktop/shell/CMainFrame.h"
#include "desktop/shell/CZefastats2App.h"
#include "desktop/shell/CZefastats2Doc.h"
#include "desktop/shell/ShellContext.h"
#include "desktop/shell/ShellDialogs.h"
#include "support/ScratchDir.h"

namespace zefa::desktop {

using Strings = std::vector<std::string>;

template <typename T>
T nextAnswer(std::deque<T>& answers, T fallback = {}) {
    if (answers.empty()) return fallback;
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

// Dialogs that answer from scripts and remember what they were asked, so that
// the windows can be driven without anybody at the keyboard. An unscripted
// question is cancelled.
struct FakeDialogs {
    struct Message {
        std::string caption, text;
        bool problem;
        QWidget* owner;
    };
    // The log and theme a wizard chooses before OK; nothing: Cancel.
    std::deque<std::optional<std::pair<std::string, std::string>>> wizardAnswers;
    std::vector<GenerationSettings> wizardSaw;  // the settings each wizard started from
    std::deque<QString> fileAnswers;            // an empty answer cancels the dialog
    std::vector<FileRequest> fileRequests;
    std::deque<QMessageBox::StandardButton> questionAnswers;
    Strings questions;
    std::vector<Message> messages;

    // Dialogs that consult this script; it must outlive them.
    ShellDialogs dialogs() {
        const auto chooseFile = [this](QWidget*, const FileRequest& request) {
            fileRequests.push_back(request);
            const QString answer = nextAnswer(fileAnswers);
            return answer.isEmpty() ? std::nullopt : std::optional<QString>(answer);
        };
        return {
            .runWizard =
                [this](GenerationSettings& settings, QWidget*) {
                    wizardSaw.push_back(settings);
                    const auto answer = nextAnswer(wizardAnswers);
                    if (answer) std::tie(settings.logFile, settings.themeFile) = *answer;
                    return answer.has_value();
                },
            .chooseFileToOpen = chooseFile,
            .chooseFileToSave = chooseFile,
            .chooseFolder = chooseFile,
            .tell =
                [this](QWidget* owner, const UserMessage& message) {
                    messages.push_back(
                        {std::string(message.caption), message.text, message.problem, owner});
                },
            .askYesNoCancel =
                [this](QWidget*, const UserMessage& message) {
                    questions.push_back(message.text);
                    return nextAnswer(questionAnswers, QMessageBox::Cancel);
                },
        };
    }
};

// Each menu of the bar, brought up to date, as its title and entries joined
// by "|", with "-" for a separator.
inline Strings menus(const QMenuBar* bar) {
    Strings texts;
    for (const QAction* title : bar->actions()) {
        emit title->menu()->aboutToShow();
        std::string text = title->text().toStdString();
        for (const QAction* action : title->menu()->actions())
            text += "|" + (action->isSeparator() ? "-" : action->text().toStdString());
        texts.push_back(text);
    }
    return texts;
}
inline const Strings kNoDocumentMenus = {"&File|&New\tCtrl+N|&Open Season...|-|Recent File|-|E&xit",
                                         "&View|&Toolbar|&Status Bar",
                                         "&Help|&About Zefa Stats 2..."};

inline std::string asked(const FileRequest& request) {
    return (QStringList{request.title, request.filter, request.defaultSuffix, request.initialFile})
        .join('|')
        .toStdString();
}

// The page files of the program in the temporary directory.
inline std::vector<std::filesystem::path> pageFiles() {
    std::vector<std::filesystem::path> pages;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
        if (entry.path().filename().string().starts_with("zefastats"))
            pages.push_back(entry.path());
    return pages;
}

class DesktopProgram : public testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        std::filesystem::remove_all(
            std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "Zefa Stats", ignored);
        test::writeFile(dir / "one.log", "Ann was railed by Tom\nAnn was railed by Tom\n");
        test::writeFile(dir / "two.log", "Bob was railed by Eve\n");
        test::writeFile(dir / "names.thm",
                        "<= NUMLINES =>\n<= PLAYERLOOP =>\n<= STRIPPEDNAME =>\n<= ENDLOOP =>\n");
        test::writeFile(dir / "plain.thm", "<html><body><h1>Plain</h1></body></html>\n");
    }

    // Starts the program without a file argument; the first wizard ends with
    // OK after choosing this log and theme, or with Cancel for no log.
    CMainFrame& start(const std::string& log = "one.log", const std::string& theme = "names.thm") {
        wizard(log, theme);
        app = std::make_unique<CZefastats2App>(StartupArguments{}, 0, fake.dialogs());
        EXPECT_TRUE(app->InitInstance());
        app->mainFrame()->activateWindow();  // shortcuts reach the active window only
        EXPECT_TRUE(QTest::qWaitForWindowActive(app->mainFrame()));
        return *app->mainFrame();
    }
    void wizard(const std::string& log, const std::string& theme = "names.thm") {
        if (log.empty()) return fake.wizardAnswers.push_back(std::nullopt);
        fake.wizardAnswers.push_back(std::pair(path(log), path(theme)));
    }
    void answerFile(const std::string& name) {
        fake.fileAnswers.push_back(name.empty() ? QString() : QString::fromStdString(path(name)));
    }
    [[nodiscard]] std::string path(const std::string& name) const {
        return name.starts_with('/') ? name : (dir / name).string();
    }
    CMainFrame& frame() const { return *app->mainFrame(); }
    GenerationSettings& settings() const { return app->context().settings.generation; }
    void trigger(Command command) const { frame().action(command)->trigger(); }
    CZefastats2Doc& document() const { return *frame().activeDocument(); }
    std::string lastMessage() const {
        return fake.messages.empty() ? "" : fake.messages.back().text;
    }
    // Closed windows, and documents without windows, go at the next turn of
    // the event loop.
    static void deleteClosedWindows() {
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static bool waitForPage(QWebEngineView* view) {
        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        return loaded.wait(30000) && loaded.takeFirst().at(0).toBool();
    }

    const test::ScratchDir dir;
    FakeDialogs fake;
    std::unique_ptr<CZefastats2App> app;
};
using DesktopProgramOnScreen = DesktopProgram;

}  // namespace zefa::desktop

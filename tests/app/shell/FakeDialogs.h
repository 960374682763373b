#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/ShellDialogs.h"

namespace zefa::test {

// Dialogs that answer from scripts and remember what they were asked, so that
// the windows can be driven without anybody at the keyboard. An unscripted
// question is cancelled.
struct FakeDialogs {
    struct Message {
        std::string caption, text;
        bool problem;
        QWidget* owner;
    };

    std::deque<std::function<bool(GenerationSettings&)>> wizardAnswers;
    std::vector<GenerationSettings> wizardSaw;  // the settings each wizard started from
    std::deque<QString> fileAnswers;  // an empty answer cancels the dialog
    std::vector<FileRequest> fileRequests;
    std::deque<QMessageBox::StandardButton> questionAnswers;
    std::vector<std::string> questions;
    std::vector<Message> messages;

    // Dialogs that consult this script; it must outlive them.
    ShellDialogs dialogs() {
        const auto chooseFile = [this](QWidget*, const FileRequest& request) {
            fileRequests.push_back(request);
            const QString answer = next(fileAnswers, QString());
            return answer.isEmpty() ? std::nullopt : std::optional<QString>(answer);
        };
        return {
            .runWizard =
                [this](GenerationSettings& settings, QWidget*) {
                    wizardSaw.push_back(settings);
                    auto answer = next(wizardAnswers, std::function<bool(GenerationSettings&)>());
                    return answer && answer(settings);
                },
            .chooseFileToOpen = chooseFile,
            .chooseFileToSave = chooseFile,
            .tell =
                [this](QWidget* owner, const UserMessage& message) {
                    messages.push_back(
                        {std::string(message.caption), message.text, message.problem, owner});
                },
            .askYesNoCancel =
                [this](QWidget*, const UserMessage& message) {
                    questions.push_back(message.text);
                    return next(questionAnswers, QMessageBox::Cancel);
                },
        };
    }

    // A wizard that ends with OK after choosing this log and theme.
    void acceptWizard(const std::string& log, const std::string& theme) {
        wizardAnswers.push_back([log, theme](GenerationSettings& settings) {
            settings.logFile = log;
            settings.themeFile = theme;
            return true;
        });
    }
    void cancelWizard() {
        wizardAnswers.push_back([](GenerationSettings&) { return false; });
    }

private:
    template <typename T>
    static T next(std::deque<T>& answers, T fallback) {
        if (answers.empty()) return fallback;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace zefa::test

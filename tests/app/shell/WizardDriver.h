#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "app/CNewStatsWizard.h"
#include "app/QtText.h"

namespace zefa::test {

// A wizard on the screen whose file chooser answers from a script and keeps
// what it was asked; an unscripted question is cancelled.
class WizardDriver {
public:
    explicit WizardDriver(GenerationSettings& settings) : wizard(settings) {
        wizard.setFileChooser([this](QWidget*, const FileRequest& request) {
            requests.push_back(request);
            std::optional<QString> answer;
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            return answer;
        });
    }
    void show() {
        wizard.show();
        QApplication::setActiveWindow(&wizard);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&wizard));
    }
    template <typename Control = QWidget>
    Control* control(std::string_view name) {
        return wizard.findChild<Control*>(qText(name));
    }
    void click(std::string_view button, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    // A key as typed, to the focused control. A mnemonic lets go of its
    // button a moment after pressing it; this waits for that.
    void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : &wizard, key, modifiers);
        const auto buttons = wizard.findChildren<QPushButton*>();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return std::none_of(buttons.begin(), buttons.end(), std::mem_fn(&QPushButton::isDown));
        }));
    }

    CNewStatsWizard wizard;
    std::deque<std::optional<QString>> answers;
    std::vector<FileRequest> requests;
};

}  // namespace zefa::test

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/DialogUnits.h"
#include "app/shell/WizardDriver.h"

namespace zefa::test {
namespace {

using Awards = std::array<std::int32_t, kAwardCount>;

Awards only(std::initializer_list<int> shown, std::int32_t flag = 1) {
    Awards flags{};
    for (int i : shown) flags[static_cast<std::size_t>(i)] = flag;
    return flags;
}
const Awards kAll = [] {
    Awards all;
    all.fill(1);
    return all;
}();
QString awardName(int i) { return qText(awardCatalogue()[static_cast<std::size_t>(i)].awardName); }

class NewStatsWizardTest : public testing::Test {
protected:
    void SetUp() override {
        stored.themeFile = "/stored/theme.thm";
        stored.outFile = "/stored/out.html";
        stored.logFile = "/stored/qconsole.log";
    }
    WizardDriver& open() {
        settings = stored;
        w = std::make_unique<WizardDriver>(settings);
        w->show();
        return *w;
    }
    QTreeWidgetItem* award(int i) { return w->control<QTreeWidget>("awardList")->topLevelItem(i); }
    Awards checked() {
        Awards flags{};
        for (int i = 0; i < kAwardCount; ++i)
            flags[static_cast<std::size_t>(i)] = award(i)->checkState(0) == Qt::Checked;
        return flags;
    }
    void check(const Awards& flags) {
        for (int i = 0; i < kAwardCount; ++i)
            award(i)->setCheckState(
                0, flags[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    }
    QString text(const char* name) { return w->control<QLabel>(name)->text(); }
    QString field(const char* name) { return w->control<QLineEdit>(name)->text(); }
    int page() { return w->control<QProgressBar>("progress")->value(); }

    GenerationSettings stored, settings;
    std::unique_ptr<WizardDriver> w;
};

TEST_F(NewStatsWizardTest, AFixedToolWindowWhosePagesAreWalkedInOrder) {
    open();
    EXPECT_EQ(w->wizard.windowTitle(), "Zefa Stats 2 Wizard");
    EXPECT_TRUE(w->wizard.windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(w->wizard.minimumSize(), DialogUnits(w->wizard.font()).size(350, 249));
    EXPECT_EQ(w->wizard.maximumSize(), w->wizard.minimumSize());
    EXPECT_EQ(QApplication::focusWidget(), w->control("next"));
    auto* list = w->control<QTreeWidget>("awardList");
    EXPECT_TRUE(list->isHeaderHidden());
    EXPECT_EQ(list->headerItem()->text(0), "Awards");
    EXPECT_GE(list->columnWidth(0), 280);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    for (int i = 0; i < kAwardCount; ++i) EXPECT_EQ(award(i)->text(0), awardName(i));

    // By page: its own controls shown, and which of Back, Next and OK are in use.
    const std::array<std::pair<std::vector<std::string>, std::string>, 6> pages = {{
        {{}, "-N-"},
        {{"logSelect", "logPath"}, "BN-"},
        {{"themeSelect", "themePath"}, "BN-"},
        {{"checkAll", "awardList"}, "BN-"},
        {{"olderVersion", "newerVersion"}, "BN-"},
        {{}, "B-O"},
    }};
    const auto expectPage = [&](int shown) {
        SCOPED_TRACE(shown);
        std::vector<std::string> visible;
        for (const ui::ControlTemplate& row : ui::kWizardControls)
            if (row.page != ui::kEveryPage && !w->control(row.name)->isHidden())
                visible.emplace_back(row.name);
        const auto& [controls, buttons] = pages[static_cast<std::size_t>(shown)];
        EXPECT_EQ(visible, controls);
        EXPECT_EQ(std::string() + "-B"[w->control("back")->isEnabled()] +
                      "-N"[w->control("next")->isEnabled()] + "-O"[w->control("ok")->isEnabled()],
                  buttons);
        EXPECT_EQ(page(), shown);
        if (shown < 5) {
            EXPECT_EQ(text("pageText"),
                      qText(ui::kWizardPageTexts[static_cast<std::size_t>(shown)]));
        }
    };
    for (int shown = 0; shown <= 5; w->click("next"), ++shown) expectPage(shown);
    for (int shown = 4; shown >= 0; --shown) {
        w->click("back");
        expectPage(shown);
    }
}

// Only 1 pre-selects the older version, yet the wizard stores only 1 or 2.
TEST_F(NewStatsWizardTest, StartsFromTheStoredChoicesAndOkStoresTheFourOfThem) {
    const struct {
        std::int32_t version;
        const char* button;
        std::int32_t storedBack;
    } cases[] = {{1, "olderVersion", 1}, {2, "newerVersion", 2}, {3, "newerVersion", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        stored.gameVersion = c.version;
        stored.awardSelected = only({0, 5, 17}, 7);
        open();
        EXPECT_TRUE(w->control<QRadioButton>(c.button)->isChecked());
        EXPECT_EQ(checked(), only({0, 5, 17}));
        EXPECT_EQ(field("logPath"), "/stored/qconsole.log");
        EXPECT_EQ(field("themePath"), "/stored/theme.thm");
        w->answers = {"/chosen/match.log", "/chosen/dark.thm"};
        w->click("next");
        w->click("logSelect");
        w->click("next");
        w->click("themeSelect");
        w->click("next", 3);
        w->click("ok");
        EXPECT_EQ(w->wizard.result(), QDialog::Accepted);
        GenerationSettings expected = stored;
        expected.gameVersion = c.storedBack;
        expected.awardSelected = only({0, 5, 17});
        expected.logFile = "/chosen/match.log";
        expected.themeFile = "/chosen/dark.thm";
        EXPECT_EQ(settings, expected);
    }
    stored = GenerationSettings{};
    open();
    EXPECT_TRUE(w->control<QRadioButton>("olderVersion")->isChecked());
    EXPECT_EQ(checked(), kAll);
    EXPECT_EQ(field("logPath"), "");
}

TEST_F(NewStatsWizardTest, TheSummaryTellsTheChoicesAsTheControlsStand) {
    const QString start =
        "Verify that the settings below match your desired preference before generating the "
        "statistics file.\n\n\nLog file: /stored/qconsole.log\n\nTheme file: /stored/theme.thm"
        "\n\nZefa Version: ";
    const struct {
        std::int32_t version;
        Awards awards;
        QString expected;
    } cases[] = {
        {1, only({3, 5}),
         start + "Zefa Beta1h or older\n\nAwards: " + awardName(3) + ", " + awardName(5)},
        {2, Awards{}, start + "Zefa Beta2 or newer\n\nAwards: "},
        {3, only({17}), start + "Zefa Beta2 or newer\n\nAwards: " + awardName(17)},
    };
    for (const auto& c : cases) {
        // The choices are made on the way; walking back and forth keeps them.
        open().click("next", 3);
        check(c.awards);
        w->click("next");
        if (c.version == 1) w->control<QRadioButton>("olderVersion")->click();
        if (c.version == 2) w->control<QRadioButton>("newerVersion")->click();
        w->click("next");
        w->click("back", 2);
        w->click("next", 2);
        EXPECT_EQ(text("pageText"), c.expected);
        stored.gameVersion = 3;
    }
}

// Only the last award decides what [Un]Check All does.
TEST_F(NewStatsWizardTest, CheckAllFollowsTheLastAward) {
    Awards allButLast = kAll;
    allButLast[17] = 0;
    const std::pair<Awards, Awards> cases[] = {
        {only({17}), Awards{}}, {allButLast, kAll}, {kAll, Awards{}}, {Awards{}, kAll}};
    open().click("next", 3);
    for (const auto& [before, after] : cases) {
        check(before);
        w->click("checkAll");
        EXPECT_EQ(checked(), after);
    }
}

TEST_F(NewStatsWizardTest, CancelEscapeAndTheCloseBoxStoreNothing) {
    const std::function<void()> ends[] = {[this] { w->click("cancel"); },
                                          [this] { w->type(Qt::Key_Escape); },
                                          [this] { w->wizard.close(); }};
    for (const auto& end : ends) {
        open().answers = {"/chosen/match.log"};
        w->click("next");
        w->click("logSelect");
        w->click("next", 2);
        w->click("checkAll");
        w->click("next");
        w->control<QRadioButton>("newerVersion")->click();
        w->click("next");
        end();
        EXPECT_EQ(w->wizard.result(), QDialog::Rejected);
        EXPECT_EQ(settings, stored);
    }
}

// A second Select starts at the stored file again, not at the one just chosen.
TEST_F(NewStatsWizardTest, SelectStartsAtTheStoredFile) {
    const struct {
        int page;
        const char *button, *field;
        FileRequest asked;
    } cases[] = {
        {1,
         "logSelect",
         "logPath",
         {"Select a Console Log", "Console Log Files (*.log);;All Files (*)", "log",
          "/stored/qconsole.log"}},
        {2,
         "themeSelect",
         "themePath",
         {"Select a Theme File", "Theme Files (*.thm);;All Files (*)", "thm", "/stored/theme.thm"}},
    };
    for (const auto& c : cases) {
        open().click("next", c.page);
        w->answers = {"/chosen/file", std::nullopt};
        w->click(c.button, 2);
        EXPECT_EQ(field(c.field), "/chosen/file") << "kept when cancelled";
        ASSERT_EQ(w->requests.size(), 2u);
        for (const FileRequest& asked : w->requests)
            EXPECT_EQ(std::tie(asked.title, asked.filter, asked.defaultSuffix, asked.initialFile),
                      std::tie(c.asked.title, c.asked.filter, c.asked.defaultSuffix,
                               c.asked.initialFile));
    }
}

// Mnemonics, Tab, and Enter on the focused button; where a button goes out
// of use its focus passes to the one that takes its place.
TEST_F(NewStatsWizardTest, TheKeyboardWalksTheWizard) {
    open().answers = {"/typed/a.log"};
    w->type(Qt::Key_N, Qt::AltModifier);
    w->type(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(field("logPath"), "/typed/a.log");
    w->type(Qt::Key_N, Qt::AltModifier);
    w->type(Qt::Key_S, Qt::AltModifier);
    ASSERT_EQ(w->requests.size(), 2u);
    EXPECT_EQ(w->requests[1].title, "Select a Theme File");
    w->type(Qt::Key_N, Qt::AltModifier);
    w->type(Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(checked(), Awards{});
    QStringList tabs;
    for (int i = 0; i < 5; ++i) {
        w->type(Qt::Key_Tab);
        tabs << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(tabs, QStringList({"cancel", "checkAll", "back", "awardList", "next"}));
    w->control("awardList")->setFocus();
    w->type(Qt::Key_Return);  // OK, the default button, is not in use yet
    EXPECT_EQ(page(), 3);

    w->control("next")->setFocus();
    w->type(Qt::Key_Return);
    w->type(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->control("ok"));
    w->type(Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), w->control("next"));
    w->control("back")->setFocus();
    for (int i = 0; i < 4; ++i) w->type(Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), w->control("next"));
    for (int i = 0; i < 6; ++i) w->type(Qt::Key_Return);
    EXPECT_EQ(w->wizard.result(), QDialog::Accepted);
    EXPECT_EQ(settings.logFile, "/typed/a.log");
}

TEST_F(NewStatsWizardTest, ExecTellsHowTheWizardEnded) {
    const std::pair<std::vector<Qt::Key>, int> cases[] = {
        {{Qt::Key_O, Qt::Key_N, Qt::Key_O, Qt::Key_Escape}, QDialog::Rejected},
        {{Qt::Key_N, Qt::Key_N, Qt::Key_N, Qt::Key_N, Qt::Key_N, Qt::Key_O}, QDialog::Accepted},
    };
    for (const auto& [keys, result] : cases) {
        settings = stored;
        WizardDriver driver(settings);
        QTimer::singleShot(0, &driver.wizard, [&driver, &keys] {
            QApplication::setActiveWindow(&driver.wizard);
            for (Qt::Key key : keys)
                driver.type(key, key == Qt::Key_Escape ? Qt::NoModifier : Qt::AltModifier);
        });
        EXPECT_EQ(driver.wizard.exec(), result);
    }
}

// On the log's and the theme's page a dropped file fills that page's path
// field, whether it lands on the field or elsewhere on the wizard.
TEST_F(NewStatsWizardTest, ADroppedFileFillsThePathFieldOfThePageShown) {
    QTemporaryDir folder;
    const QString file = folder.filePath("dropped.log");
    QFile(file).open(QIODevice::WriteOnly);
    const QUrl dropped = QUrl::fromLocalFile(file);
    const struct {
        int page;
        const char *target, *filled;  // null: refused
        QUrl url;
    } cases[] = {{1, "logPath", "logPath", dropped},
                 {1, "pageText", "logPath", dropped},
                 {2, "themePath", "themePath", dropped},
                 {3, "awardList", nullptr, dropped},
                 {1, "logPath", nullptr, QUrl::fromLocalFile(folder.path())},
                 {1, "logPath", nullptr, QUrl("http://example.invalid/a.log")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url.toString().toStdString() + " on " + c.target);
        open().click("next", c.page);
        QWidget* target = w->control(c.target);
        QMimeData data;
        data.setUrls({c.url});
        QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        EXPECT_EQ(enter.isAccepted(), c.filled != nullptr);
        QDropEvent drop(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        if (enter.isAccepted()) QApplication::sendEvent(target, &drop);
        for (const char* path : {"logPath", "themePath"})
            EXPECT_EQ(field(path) == file, c.filled && std::string(c.filled) == path) << path;
    }
}

}  // namespace
}  // namespace zefa::test

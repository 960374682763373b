#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop/settings/QtText.h"
#include "desktop/shell/CNewStatsWizard.h"
#include "desktop/shell/DialogUnits.h"

namespace zefa::desktop {
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

// A wizard on the screen, started from `stored`, whose file chooser answers
// from `answers` (an unscripted question is cancelled) and keeps what it was
// asked.
class NewStatsWizardTest : public testing::Test {
protected:
    void SetUp() override {
        stored.themeFile = "/stored/theme.thm";
        stored.outFile = "/stored/out.html";
        stored.logFile = "/stored/qconsole.log";
        stored.detectVersion = false;
    }
    void open(bool show = true) {
        settings = stored;
        answers.clear();
        requests.clear();
        w = std::make_unique<CNewStatsWizard>(settings);
        w->setFileChooser([this](QWidget*, const FileRequest& request) {
            requests.push_back(request);
            if (answers.empty()) return std::optional<QString>();
            const std::optional<QString> answer = answers.front();
            answers.pop_front();
            return answer;
        });
        if (!show) return;
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    template <typename Control = QWidget>
    Control* control(std::string_view name) {
        return w->findChild<Control*>(qText(name));
    }
    void click(std::string_view button, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    // A key as typed, to the focused control. A mnemonic lets go of its
    // button a moment after pressing it; this waits for that.
    void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : w.get(), key, modifiers);
        const auto buttons = w->findChildren<QPushButton*>();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return std::none_of(buttons.begin(), buttons.end(), std::mem_fn(&QPushButton::isDown));
        }));
    }
    void alt(Qt::Key key) { type(key, Qt::AltModifier); }
    QTreeWidgetItem* award(int i) { return control<QTreeWidget>("awardList")->topLevelItem(i); }
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
    QString text(const char* name) { return control<QLabel>(name)->text(); }
    QString field(const char* name) { return control<QLineEdit>(name)->text(); }
    int page() { return control<QProgressBar>("progress")->value(); }
    void choose(const char* version) { control<QRadioButton>(version)->click(); }

    GenerationSettings stored, settings;
    std::unique_ptr<CNewStatsWizard> w;
    std::deque<std::optional<QString>> answers;
    std::vector<FileRequest> requests;
};
using WizardOnScreen = NewStatsWizardTest;

TEST_F(NewStatsWizardTest, AFixedToolWindowWhosePagesAreWalkedInOrder) {
    open();
    EXPECT_EQ(w->windowTitle(), "Zefa Stats 2 Wizard");
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(w->minimumSize(), DialogUnits(w->font()).size(350, 249));
    EXPECT_EQ(w->maximumSize(), w->minimumSize());
    EXPECT_EQ(QApplication::focusWidget(), control("next"));
    auto* list = control<QTreeWidget>("awardList");
    EXPECT_TRUE(list->isHeaderHidden());
    EXPECT_GE(list->columnWidth(0), 280);
    for (int i = 0; i < kAwardCount; ++i) EXPECT_EQ(award(i)->text(0), awardName(i));
    for (const char* name : {"logPath", "themePath"}) {
        const QWidget* field = control(name);
        EXPECT_EQ(field->palette().color(QPalette::Base), field->palette().color(QPalette::Window))
            << name << " looks read-only";
        EXPECT_FALSE(field->focusPolicy() & Qt::TabFocus) << name;
    }

    // By page: its own controls shown, and which of Back, Next and OK are in use.
    const std::array<std::pair<std::vector<std::string>, std::string>, 6> pages = {{
        {{}, "-N-"},
        {{"logSelect", "logPath"}, "BN-"},
        {{"themeSelect", "themePath"}, "BN-"},
        {{"checkAll", "awardList"}, "BN-"},
        {{"olderVersion", "newerVersion", "detectVersion"}, "BN-"},
        {{}, "B-O"},
    }};
    const auto expectPage = [&](int shown) {
        SCOPED_TRACE(shown);
        std::vector<std::string> visible;
        for (const ControlTemplate& row : kWizardControls)
            if (row.page != kEveryPage && !control(row.name)->isHidden())
                visible.emplace_back(row.name);
        const auto& [controls, buttons] = pages[static_cast<std::size_t>(shown)];
        EXPECT_EQ(visible, controls);
        EXPECT_EQ(std::string() + "-B"[control("back")->isEnabled()] +
                      "-N"[control("next")->isEnabled()] + "-O"[control("ok")->isEnabled()],
                  buttons);
        EXPECT_EQ(page(), shown);
        if (shown < 5) {
            EXPECT_EQ(text("pageText"), qText(kWizardPageTexts[static_cast<std::size_t>(shown)]));
        }
    };
    for (int shown = 0; shown <= 5; click("next"), ++shown) expectPage(shown);
    for (int shown = 4; shown >= 0; --shown) {
        click("back");
        expectPage(shown);
    }
}

// Only 1 pre-selects the older version, yet the wizard stores only 1 or 2.
TEST_F(NewStatsWizardTest, StartsFromTheStoredChoicesAndOkStoresTheFourOfThem) {
    for (const std::int32_t version : {1, 2, 3}) {
        SCOPED_TRACE(version);
        stored.gameVersion = version;
        stored.awardSelected = only({0, 5, 17}, 7);
        open();
        EXPECT_TRUE(
            control<QRadioButton>(version == 1 ? "olderVersion" : "newerVersion")->isChecked());
        EXPECT_EQ(checked(), only({0, 5, 17}));
        EXPECT_EQ(field("logPath"), "/stored/qconsole.log");
        EXPECT_EQ(field("themePath"), "/stored/theme.thm");
        answers = {"/chosen/match.log", "/chosen/dark.thm"};
        for (const char* button :
             {"next", "logSelect", "next", "themeSelect", "next", "next", "next", "ok"})
            click(button);
        EXPECT_EQ(w->result(), QDialog::Accepted);
        GenerationSettings expected = stored;
        expected.gameVersion = std::min(version, 2);
        expected.awardSelected = only({0, 5, 17});
        expected.logFile = "/chosen/match.log";
        expected.themeFile = "/chosen/dark.thm";
        EXPECT_EQ(settings, expected);
    }
    // Detection, a new user's choice, keeps the version chosen last.
    stored = GenerationSettings{};
    stored.gameVersion = 2;
    stored.logFile = "/stored/qconsole.log";
    stored.themeFile = "/stored/theme.thm";
    open();
    EXPECT_TRUE(control<QRadioButton>("detectVersion")->isChecked());
    EXPECT_EQ(checked(), kAll);
    choose("newerVersion");
    click("next", 4);
    choose("detectVersion");
    click("next");
    EXPECT_TRUE(text("pageText").contains("Zefa Version: Detect from the log\n"));
    click("ok");
    EXPECT_EQ(settings, stored);
}

// Next stays on the log's and the theme's page while its path is empty and
// says why; on the summary Enter means OK wherever the focus is.
TEST_F(NewStatsWizardTest, NextNeedsTheFilesAndEnterOnTheSummaryIsOk) {
    stored.logFile.clear();
    stored.themeFile.clear();
    open();
    QStringList told;
    const auto nextTold = [&] {
        QTimer::singleShot(0, [&told] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            told << box->text();
            box->accept();
        });
        click("next");
    };
    click("next");
    nextTold();
    EXPECT_EQ(page(), 1);
    answers = {"/chosen/match.log", "/chosen/dark.thm"};
    click("logSelect");
    nextTold();
    nextTold();
    EXPECT_EQ(page(), 2);
    click("themeSelect");
    nextTold();
    EXPECT_EQ(page(), 3);
    EXPECT_EQ(told, QStringList({"Please select the console log to generate the stats from.",
                                 "Please select the theme file to write the stats page with."}));
    click("next", 2);
    QApplication::setActiveWindow(w.get());  // the message boxes took it
    control("back")->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), control("back"));
    type(Qt::Key_Return);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(settings.themeFile, "/chosen/dark.thm");
}

// A theme file without the ".thm" suffix is taken as chosen.
TEST_F(NewStatsWizardTest, TheFileDialogTakesTheChosenFileAsItIs) {
    QTemporaryDir folder;
    const QString theme = folder.filePath("plain-theme");
    QFile(theme).open(QIODevice::WriteOnly);
    QTimer closer;  // whatever dialog is left open is cancelled, so the test ends
    closer.callOnTimeout([] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    closer.start(2000);
    QTimer::singleShot(0, [&theme] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectNameFilter("All Files (*)");
        dialog->selectFile(theme);
        static_cast<QDialog*>(dialog)->accept();  // as the Open button does
    });
    EXPECT_EQ(chooseExistingFile(nullptr, themeFileRequest(pathBytes(folder.path()) + "/")), theme);
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
        open();
        click("next", 3);
        check(c.awards);
        click("next");
        if (c.version < 3) choose(c.version == 1 ? "olderVersion" : "newerVersion");
        click("next");
        click("back", 2);
        click("next", 2);
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
    open();
    click("next", 3);
    for (const auto& [before, after] : cases) {
        check(before);
        click("checkAll");
        EXPECT_EQ(checked(), after);
    }
}

TEST_F(NewStatsWizardTest, CancelEscapeAndTheCloseBoxStoreNothing) {
    const std::function<void()> ends[] = {[this] { click("cancel"); },
                                          [this] { type(Qt::Key_Escape); }, [this] { w->close(); }};
    for (const auto& end : ends) {
        open();
        answers = {"/chosen/match.log"};
        for (const char* button : {"next", "logSelect", "next", "next", "checkAll", "next"})
            click(button);
        choose("newerVersion");
        click("next");
        end();
        EXPECT_EQ(w->result(), QDialog::Rejected);
        EXPECT_EQ(settings, stored);
    }
}

// A second Select starts at the stored file again, not at the one just chosen.
TEST_F(NewStatsWizardTest, SelectStartsAtTheStoredFile) {
    const std::pair<std::string, FileRequest> cases[] = {
        {"log",
         {"Select a Console Log", "Console Log Files (*.log);;All Files (*)", "log",
          "/stored/qconsole.log"}},
        {"theme",
         {"Select a Theme File", "Theme Files (*.thm);;All Files (*)", "thm", "/stored/theme.thm"}},
    };
    for (int page = 1; const auto& [name, expected] : cases) {
        open();
        click("next", page++);
        answers = {"/chosen/file", std::nullopt};
        click(name + "Select", 2);
        EXPECT_EQ(field((name + "Path").c_str()), "/chosen/file") << "kept when cancelled";
        ASSERT_EQ(requests.size(), 2u);
        for (const FileRequest& asked : requests)
            EXPECT_EQ(std::tie(asked.title, asked.filter, asked.defaultSuffix, asked.initialFile),
                      std::tie(expected.title, expected.filter, expected.defaultSuffix,
                               expected.initialFile));
    }
}

// Mnemonics, Tab, and Enter on the focused button; where a button goes out
// of use its focus passes to the one that takes its place.
TEST_F(NewStatsWizardTest, TheKeyboardWalksTheWizard) {
    open();
    answers = {"/typed/a.log"};
    alt(Qt::Key_N);
    alt(Qt::Key_S);
    EXPECT_EQ(field("logPath"), "/typed/a.log");
    alt(Qt::Key_N);
    alt(Qt::Key_S);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].title, "Select a Theme File");
    alt(Qt::Key_N);
    alt(Qt::Key_E);
    EXPECT_EQ(checked(), Awards{});
    QStringList tabs;
    for (int i = 0; i < 5; ++i) {
        type(Qt::Key_Tab);
        tabs << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(tabs, QStringList({"cancel", "checkAll", "back", "awardList", "next"}));
    control("awardList")->setFocus();
    type(Qt::Key_Return);  // OK, the default button, is not in use yet
    EXPECT_EQ(page(), 3);

    control("next")->setFocus();
    type(Qt::Key_Return);
    type(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), control("ok"));
    alt(Qt::Key_B);
    EXPECT_EQ(QApplication::focusWidget(), control("next"));
    control("back")->setFocus();
    for (int i = 0; i < 4; ++i) alt(Qt::Key_B);
    EXPECT_EQ(QApplication::focusWidget(), control("next"));
    for (int i = 0; i < 6; ++i) type(Qt::Key_Return);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(settings.logFile, "/typed/a.log");
}

TEST_F(NewStatsWizardTest, ExecTellsHowTheWizardEnded) {
    const std::pair<std::vector<Qt::Key>, int> cases[] = {
        {{Qt::Key_O, Qt::Key_N, Qt::Key_O, Qt::Key_Escape}, QDialog::Rejected},
        {{Qt::Key_N, Qt::Key_N, Qt::Key_N, Qt::Key_N, Qt::Key_N, Qt::Key_O}, QDialog::Accepted},
    };
    for (const auto& [keys, result] : cases) {
        open(false);
        QTimer::singleShot(0, w.get(), [this, &keys] {
            QApplication::setActiveWindow(w.get());
            for (Qt::Key key : keys)
                type(key, key == Qt::Key_Escape ? Qt::NoModifier : Qt::AltModifier);
        });
        EXPECT_EQ(w->exec(), result);
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
        open();
        click("next", c.page);
        QWidget* target = control(c.target);
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

// Whether the room the style leaves a button for its text holds the text.
bool textFits(const QAbstractButton* button, QStyle::SubElement contents) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect room = button->style()->subElementRect(contents, &option, button);
    const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    return room.width() >= text.width() && room.height() >= text.height();
}

bool fitsItsText(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->heightForWidth(label->width()) <= label->height();
    if (const auto* radio = qobject_cast<const QRadioButton*>(control))
        return textFits(radio, QStyle::SE_RadioButtonContents);
    if (const auto* button = qobject_cast<const QPushButton*>(control))
        return textFits(button, QStyle::SE_PushButtonContents);
    if (const auto* field = qobject_cast<const QLineEdit*>(control))
        return field->sizeHint().height() <= field->height();
    if (const auto* list = qobject_cast<const QTreeWidget*>(control)) {
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            if (list->sizeHintForIndex(list->model()->index(row, 0)).width() > list->columnWidth(0))
                return false;
        return !list->horizontalScrollBar()->isVisible();
    }
    return true;
}

// On every page each control shown lies inside the dialog with its text in
// its bounds and clear of the others. The page text covers the page's own
// controls by design: its lines must end above them. With ZEFA_SCREENSHOT_DIR
// set, each page is saved there.
TEST_F(WizardOnScreen, NothingIsCutOffOrCoveredOnAnyPage) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs X";
    // Longer than a line of the summary.
    stored.logFile =
        "/home/player/games/zefa/client/logs/from-the-tournament-final-on-the-seventh-of-may/"
        "qconsole.log";
    stored.themeFile = "/usr/share/zefastats2/themes/default.thm";
    open();
    const auto* pageText = control<QLabel>("pageText");
    for (int page = 0; page <= kWizardLastPage; click("next"), ++page) {
        SCOPED_TRACE(page);
        std::vector<QWidget*> shown;
        for (const ControlTemplate& row : kWizardControls)
            if (QWidget* c = control(row.name); c->isVisible()) shown.push_back(c);
        for (QWidget* c : shown) {
            const std::string name = c->objectName().toStdString();
            EXPECT_TRUE(w->rect().contains(c->geometry())) << name;
            EXPECT_TRUE(fitsItsText(c)) << name << " cuts its text short";
            for (QWidget* other : shown) {
                if (other == c || other == pageText) continue;
                if (c != pageText) {
                    EXPECT_FALSE(c->geometry().intersects(other->geometry()))
                        << name << " over " << other->objectName().toStdString();
                } else if (other->geometry().intersects(pageText->geometry())) {
                    EXPECT_LE(pageText->y() + pageText->heightForWidth(pageText->width()),
                              other->y())
                        << "page text over " << other->objectName().toStdString();
                }
            }
        }
        if (const char* folder = std::getenv("ZEFA_SCREENSHOT_DIR")) {
            QCoreApplication::processEvents();  // the list lays its rows out late
            w->repaint();
            w->screen()
                ->grabWindow(w->winId())
                .toImage()
                .save(QStringLiteral("%1/wizard-%2dpi-page%3.png")
                          .arg(QString::fromLocal8Bit(folder))
                          .arg(qRound(w->devicePixelRatioF() * 96))
                          .arg(page));
        }
    }
}

}  // namespace
}  // namespace zefa::desktop

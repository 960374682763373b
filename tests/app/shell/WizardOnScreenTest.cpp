// The wizard in a real window. The test program runs these under Xvfb with
// QT_QPA_PLATFORM=xcb, at 96 and at 144 dpi, and skips them elsewhere.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTreeWidget>
#include <cstdlib>

#include "app/shell/WizardDriver.h"

namespace zefa::test {
namespace {

// The room the style leaves a button for its text, against the text.
bool textFits(const QAbstractButton* button, QStyle::SubElement contents) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect room = button->style()->subElementRect(contents, &option, button);
    const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    return room.width() >= text.width() && room.height() >= text.height();
}

bool namesFit(const QTreeWidget* list) {
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (list->sizeHintForIndex(list->model()->index(row, 0)).width() > list->columnWidth(0))
            return false;
    return !list->horizontalScrollBar()->isVisible();
}

// Each control shown lies inside the dialog with its text in its bounds and
// clear of the others. The page text covers the page's own controls by
// design: its lines must end above them.
void expectPageClear(WizardDriver& w) {
    std::vector<QWidget*> shown;
    for (const ui::ControlTemplate& row : ui::kWizardControls)
        if (QWidget* control = w.control(row.name); control->isVisible()) shown.push_back(control);
    const auto* pageText = w.control<QLabel>("pageText");
    for (QWidget* control : shown) {
        const std::string name = control->objectName().toStdString();
        EXPECT_TRUE(w.wizard.rect().contains(control->geometry())) << name;
        bool fits = true;
        if (const auto* label = qobject_cast<QLabel*>(control))
            fits = label->heightForWidth(label->width()) <= label->height();
        else if (const auto* radio = qobject_cast<QRadioButton*>(control))
            fits = textFits(radio, QStyle::SE_RadioButtonContents);
        else if (const auto* button = qobject_cast<QPushButton*>(control))
            fits = textFits(button, QStyle::SE_PushButtonContents);
        else if (const auto* field = qobject_cast<QLineEdit*>(control))
            fits = field->sizeHint().height() <= field->height();
        else if (const auto* list = qobject_cast<QTreeWidget*>(control))
            fits = namesFit(list);
        EXPECT_TRUE(fits) << name << " cuts its text short";
        for (QWidget* other : shown) {
            if (other == control || other == pageText) continue;
            if (control != pageText) {
                EXPECT_FALSE(control->geometry().intersects(other->geometry()))
                    << name << " over " << other->objectName().toStdString();
            } else if (other->geometry().intersects(pageText->geometry())) {
                EXPECT_LE(pageText->y() + pageText->heightForWidth(pageText->width()), other->y())
                    << "page text over " << other->objectName().toStdString();
            }
        }
    }
}

// Into ZEFA_SCREENSHOT_DIR, when it is set.
void keepScreenshot(CNewStatsWizard& wizard, int page) {
    const char* folder = std::getenv("ZEFA_SCREENSHOT_DIR");
    if (!folder) return;
    QCoreApplication::processEvents();  // the list lays its rows out late
    wizard.repaint();
    const QImage image = wizard.screen()->grabWindow(wizard.winId()).toImage();
    image.save(QStringLiteral("%1/wizard-%2dpi-page%3.png")
                   .arg(QString::fromLocal8Bit(folder))
                   .arg(qRound(wizard.devicePixelRatioF() * 96))
                   .arg(page));
}

TEST(WizardOnScreen, NothingIsCutOffOrCoveredOnAnyPage) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs X";
    GenerationSettings settings;
    // Longer than a line of the summary.
    settings.logFile =
        "/home/player/games/zefa/client/logs/from-the-tournament-final-on-the-seventh-of-may/"
        "qconsole.log";
    settings.themeFile = "/usr/share/zefastats2/themes/default.thm";
    WizardDriver w(settings);
    w.show();
    for (int page = 0; page <= ui::kWizardLastPage; w.click("next"), ++page) {
        SCOPED_TRACE(page);
        expectPageClear(w);
        keepScreenshot(w.wizard, page);
    }
}

}  // namespace
}  // namespace zefa::test

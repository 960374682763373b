// zefastats2: the desktop program, and its batch run for servers and scripts.
#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <span>

#include "files/SourceDateEpoch.h"
#include "desktop/core/BatchRun.h"
#include "desktop/core/MessageText.h"
#include "desktop/core/StartupArguments.h"
#include "desktop/settings/SessionSettings.h"
#include "desktop/shell/CZefastats2App.h"

namespace {

using namespace zefa;
using namespace zefa::desktop;

constexpr std::string_view kUsage = R"(Usage: zefastats2 [LOGFILE]

Zefa Stats 2 turns the console log of a Zefa match into an HTML statistics page.

Without LOGFILE the desktop program opens, and its wizard asks for a console
log, a theme, the awards to show and the game version.

With LOGFILE the page is generated unattended, with the theme, game version
and awards stored by the last interactive use, and written over the stats
page saved last; then the program ends. This needs no display: without one,
messages go to standard error.

Options:
  -h, --help     show this help and exit
  -V, --version  print the version and exit
  --             the next argument is the log, even if it begins with "-"
Qt's own options (such as -platform offscreen) are accepted too, and after
--webEngineArgs those of the embedded web engine.

Settings are kept in $XDG_CONFIG_HOME/Zefa Stats/Zefa Stats 2.conf
(~/.config when XDG_CONFIG_HOME is not set).
SOURCE_DATE_EPOCH, when set, is the clock of the page's date and time.

Exit status: 0 on success; 1 when the page could not be generated or written;
2 for a usage error.
)";

// The batch run where no window can be made: no windowing system is touched.
int runWithoutWindows(const StartupArguments& arguments, std::optional<std::time_t> pageClock) {
    SessionSettings settings;
    const bool written = runBatch(*arguments.logFile, settings.generation, settings.recentFiles,
                                  pageClock, tellOnStandardError);
    settings.save();
    return written ? EXIT_SUCCESS : EXIT_FAILURE;
}

}  // namespace

int main(int argc, char** argv) {
    const StartupArguments arguments =
        parseStartupArguments(std::span<const char* const>(argv + 1, argv + argc));
    if (!arguments.usageError.empty()) {
        std::cerr << kProgramName << ": " << arguments.usageError << "\n\n" << kUsage;
        return 2;
    }
    if (arguments.help) {
        std::cout << kUsage;
        return EXIT_SUCCESS;
    }
    if (arguments.version) {
        std::cout << kProgramName << ' ' << kAppVersion << '\n';
        return EXIT_SUCCESS;
    }
    std::optional<std::time_t> pageClock;
    if (!parseSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"), pageClock)) {
        std::cerr << kProgramName << ": SOURCE_DATE_EPOCH must be a whole number of seconds\n";
        return 2;
    }

    // Decided before any window exists: a batch run without a display must
    // not need a windowing system.
    const WindowTarget windows = findWindowTarget(arguments);
    if (arguments.logFile && windows != WindowTarget::Screen)
        return runWithoutWindows(arguments, pageClock);
    if (windows == WindowTarget::None) {
        std::cerr << kProgramName
                  << ": no display to open the window on (DISPLAY is not set); give a console "
                     "log to generate its page without one\n";
        return EXIT_FAILURE;
    }
    // The embedded browser shares its drawing contexts with the windows.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    // Wayland and the desktop's docks tell the window's program by its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZEFA_APP_ID));
    CZefastats2App app(arguments, pageClock);
    return app.run();
}

// The desktop program's windows under test: one QApplication per test
// process, offscreen unless a platform is asked for (the Xvfb tests ask for
// xcb). The settings store and the temporary directory are scratch folders of
// the process, so that nothing of the user's is read or changed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

// Under the sanitizers: the web engine deletes some of its objects with a
// mismatched size and leaks at exit, as fontconfig does; neither is ours to
// mend, and the program's own code stays checked.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0"; }
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6WebEngineCore.so\nleak:libfontconfig.so\n";
}

namespace {

std::string scratchFolder(const char* name) {
    std::string pattern = (std::filesystem::temp_directory_path() / name).string();
    return ::mkdtemp(pattern.data());
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    const std::string configHome = scratchFolder("zefa-shell-config.XXXXXX");
    const std::string temporary = scratchFolder("zefa-shell-tmp.XXXXXX");
    ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    ::setenv("TMPDIR", temporary.c_str(), 1);

    testing::InitGoogleTest(&argc, argv);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    int status = 0;
    {
        QApplication application(argc, argv);
        status = RUN_ALL_TESTS();
    }
    std::filesystem::remove_all(configHome);
    std::filesystem::remove_all(temporary);
    return status;
}

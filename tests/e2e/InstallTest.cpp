#include "e2e/GameScreen.hpp"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {
/// Installs the build into a staging folder below root and gives the installed prefix.
fs::path installInto(const fs::path& root) {
    const fs::path stage = root / "stage";
    fs::create_directories(root);
    const std::string install = std::string("DESTDIR=") + stage.string() + " " + KRAXELBRETT_CMAKE +
                                " --install " + KRAXELBRETT_BUILD_DIR + " > " +
                                (root / "install.log").string();
    EXPECT_EQ(std::system(install.c_str()), 0);
    return stage / fs::path(KRAXELBRETT_INSTALL_PREFIX).relative_path();
}

std::string contents(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

using InstalledGame = GameScreenTest;

// Installed into a staging folder, the game starts through its launcher from anywhere and
// finds its die and its font.
TEST_F(InstalledGame, StartsFromAnotherFolderWithItsFontAndEndsOnEscape) {
    const fs::path root =
        fs::temp_directory_path() / ("kraxelbrett-install-" + std::to_string(getpid()));
    const fs::path prefix = installInto(root);
    const fs::path elsewhere = root / "elsewhere";
    fs::create_directories(elsewhere);

    const fs::path desktop = prefix / "share/applications/kraxelbrett.desktop";
    EXPECT_EQ(std::system(("desktop-file-validate " + desktop.string()).c_str()), 0);
    EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor/64x64/apps/kraxelbrett.png"));
    EXPECT_TRUE(fs::is_symlink(prefix / "share/kraxelbrett/assets/SmallMemory.ttf"));

    {
        GameProcess installed((prefix / "games/kraxelbrett").string(), elsewhere.string());
        ASSERT_TRUE(screen.waitFor(boardShown, 15s));
        EXPECT_TRUE(screen.waitFor([](const XScreen& s) { return startLabelPixels(s) > 50; }, 5s))
            << "the font was found";
        screen.tap(XK_Escape);
        EXPECT_EQ(installed.waitForExit(10s), std::optional<int>(0));
    }
    fs::remove_all(root);
}

// Through the launcher and with no display at all, the arguments are answered before the
// game would need one.
TEST(InstalledGameWithoutDisplay, AnswersItsArguments) {
    const fs::path root =
        fs::temp_directory_path() / ("kraxelbrett-arguments-" + std::to_string(getpid()));
    const fs::path launcher = installInto(root) / "games/kraxelbrett";
    const std::string version = std::string("kraxelbrett ") + KRAXELBRETT_VERSION + "\n";
    const std::string usage = "Usage: kraxelbrett [--help | --version]\n";
    struct Case {
        std::string arguments;
        int exitCode;
        std::string out; // empty: the help, whose first line is checked
        std::string err;
    };
    for (const Case& c : std::vector<Case>{{"--version", 0, version, ""},
                                           {"--help", 0, "", ""},
                                           {"--fullscreen", 2, "", usage}}) {
        const std::string command = "env -u DISPLAY " + launcher.string() + " " + c.arguments +
                                    " > " + (root / "out").string() + " 2> " +
                                    (root / "err").string();
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << c.arguments;
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << c.arguments;
        const std::string out = contents(root / "out");
        if (c.out.empty() && c.exitCode == 0) {
            EXPECT_EQ(out.rfind("Kraxelbrett: a party board game", 0), 0U) << out;
        } else {
            EXPECT_EQ(out, c.out) << c.arguments;
        }
        EXPECT_EQ(contents(root / "err"), c.err) << c.arguments;
    }
    fs::remove_all(root);
}

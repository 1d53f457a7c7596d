#include "e2e/GameScreen.hpp"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using InstalledGame = GameScreenTest;

// Installed into a staging folder, the game starts through its launcher from anywhere and
// finds its die and its font.
TEST_F(InstalledGame, StartsFromAnotherFolderWithItsFontAndEndsOnEscape) {
    const fs::path root =
        fs::temp_directory_path() / ("kraxelbrett-install-" + std::to_string(getpid()));
    const fs::path stage = root / "stage";
    const fs::path elsewhere = root / "elsewhere";
    fs::create_directories(elsewhere);
    const std::string install = std::string("DESTDIR=") + stage.string() + " " + KRAXELBRETT_CMAKE +
                                " --install " + KRAXELBRETT_BUILD_DIR + " > " +
                                (root / "install.log").string();
    ASSERT_EQ(std::system(install.c_str()), 0);

    const fs::path prefix = stage / fs::path(KRAXELBRETT_INSTALL_PREFIX).relative_path();
    const fs::path desktop = prefix / "share/applications/kraxelbrett.desktop";
    EXPECT_EQ(std::system(("desktop-file-validate " + desktop.string()).c_str()), 0);
    EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor/64x64/apps/kraxelbrett.png"));
    EXPECT_TRUE(fs::is_symlink(prefix / "share/kraxelbrett/assets/SmallMemory.ttf"));

    {
        GameProcess installed((prefix / "bin/kraxelbrett").string(), elsewhere.string());
        ASSERT_TRUE(screen.waitFor(boardShown, 15s));
        EXPECT_TRUE(screen.waitFor([](const XScreen& s) { return startLabelPixels(s) > 50; }, 5s))
            << "the font was found";
        screen.tap(XK_Escape);
        EXPECT_EQ(installed.waitForExit(10s), std::optional<int>(0));
    }
    fs::remove_all(root);
}

#include "core/Assets.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

// Only a regular file, or a link to one, is read; anything else is one line and no asset, and
// nothing is opened, so a pipe with no writer cannot hold the game up.
TEST(Assets, OnlyRegularFilesAreRead) {
    namespace fs = std::filesystem;
    const TemporaryFolder temporary("kraxelbrett-assets-");
    const fs::path& folder = temporary.path;
    fs::create_directories(folder / "folder");
    std::ofstream(folder / "file") << "font";
    fs::create_symlink(folder / "file", folder / "link");
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);

    const struct {
        const char* name;
        std::string said; // nothing for a file that is read
    } cases[] = {{"file", ""},
                 {"link", ""},
                 {"missing", "no such file"},
                 {"folder", "a folder, not a file"},
                 {"pipe", "not a regular file"}};
    for (const auto& c : cases) {
        std::ostringstream messages;
        const std::string path = (folder / c.name).string();
        EXPECT_EQ(assetReadable(path, messages), c.said.empty()) << c.name;
        EXPECT_EQ(messages.str(), c.said.empty() ? ""
                                                 : "kraxelbrett: " + path + ": " + c.said +
                                                       "; the game goes on without it\n");
    }
}

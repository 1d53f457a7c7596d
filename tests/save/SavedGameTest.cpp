#include "save/SavedGame.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/resource.h>

namespace {
namespace fs = std::filesystem;

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::locale english = std::locale::classic();
const std::string secret = "0123456789abcdef0123456789abcdef";
const std::string good = "kraxelbrett = 1\nturn = 1\nmarker = 0\nfinish-order = [0]\n"
                         "[[player]]\nfield = 112\ntask = 112\nwaits = 0\nfinished = true\n"
                         "name = \"Anna\"\nsecret = \"0123456789abcdef0123456789abcdef\"\n"
                         "[[player]]\nfield = 34\ntask = 34\nwaits = 2\nfinished = false\n";

std::string with(const std::string& from, const std::string& to) {
    std::string text = good;
    return text.replace(text.find(from), from.size(), to);
}
} // namespace

// A state file is user input: whatever it holds gives a game or one line naming the file, the
// line and what is wrong, never a crash.
TEST(SavedGame, EachBadStateFileGivesOneLine) {
    std::string tenPlayers = good;
    for (int player = 0; player < 8; ++player)
        tenPlayers += "[[player]]\nfield = 0\ntask = 0\nwaits = 0\nfinished = false\n";
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {good, ""},
        {good.substr(0, good.find("Anna") + 2), "game.toml:10:11: Error while parsing string"},
        {with("turn = 1", "turn = \"1\""), "game.toml:2: turn is a string, not an integer"},
        {with("marker = 0", "marker = -1"), ":3: marker is -1; with 2 players it is 0 to 1"},
        {with("finished = false", "finished = 0"), ":16: finished is an integer, not true or"},
        {with("field = 34", "field = 113"), "game.toml:13: field is 113; fields are 0 to 112"},
        {with("waits = 2", "waits = 3"), ":15: waits is 3; a player waits 0 to 2 turns"},
        {with("task = 34\n", ""), "game.toml:12: task is missing"},
        {with("turn = 1\n", ""), "game.toml: turn is missing; a saved game says turn,"},
        {with("waits = 2\n", ""), "game.toml:12: waits is missing"},
        {tenPlayers, "game.toml:52: one player too many; a game has at most 9 players"},
        {with("field = 112", "field = 111"), ":9: finished is true but field is 111; a finished"},
        {with("[0]", "[]"), ":4: finish-order lacks 0, who has finished"},
        {with("[0]", "[0, 0]"), ":4: finish-order holds 0 twice"},
        {with("[0]", "[0, 1]"), ":4: finish-order holds 1, who has not finished"},
        {with("[0]", "[2]"),
         ":4: finish-order holds 2, which is no player's index; they are 0 to 1"},
        {with("marker = 0", "marker = 0\ncard = 2"), ":4: card is 2; with 2 players it is 0 to"},
        {with("abcdef\"", "ABCDEF\""), ":11: secret is not 32 lower-case"},
        {with("kraxelbrett = 1\n", ""), "game.toml: not a saved game of Kraxelbrett: it has no"},
        {with("= 1", "= 2"), "game.toml:1: not a saved game of Kraxelbrett: kraxelbrett is 2,"},
        {with("turn", "colour = 3\nturn"), ":2: not a saved game of Kraxelbrett: unknown key "
                                           "\"colour\"; a saved game has only"},
        {with("Anna", "An\\u0085na"), ":10: name holds the control character U+0085"},
        {with("Anna", "Annabella Kunigunde"), ":10: name has 19 characters; a name has 1 to 16"},
        {with("turn", "deck = \"a\\nb\"\nturn"), ":2: deck holds the control character U+000A"},
        {"kraxelbrett = 1\nturn = 0\nmarker = 0\nfinish-order = []\nplayer = [1]\n",
         ":5: player is an array, not [[player]] tables"},
        {std::string("\x7f\x45LF\x02\x01\0\0", 8), "game.toml:1:1: "},
    };
    for (const auto& test : cases) {
        const SavedGameRead read = parseSavedGame(test.text, "game.toml", english);
        EXPECT_EQ(read.game.has_value(), test.problem.empty()) << test.text;
        EXPECT_NE(read.problem.find(test.problem), std::string::npos) << read.problem << "\n"
                                                                      << test.text;
        EXPECT_EQ(read.problem.find('\n'), std::string::npos) << read.problem;
    }
}

TEST(SavedGame, WrittenGamesReadBackTheSame) {
    SavedGame busy{R"(C:\Decks\"ours".toml)", {}, 1, 2, {2, 0}, 1, secret};
    busy.players = {
        {{112, 112, 0, true}, "Jürgen \"Jo\" \\o/", secret},
        {{66, 66, 2, false}, "Zoë 'ß' \u00e9\u6f22", "fedcba9876543210fedcba9876543210"},
        {{112, 112, 0, true}, "", ""},
        {{40, 17, 0, false}, "\xF0\x9F\x8E\xB2", ""}};
    for (const SavedGame& game : {SavedGame{}, busy}) {
        const std::string text = savedGameText(game);
        const SavedGameRead read = parseSavedGame(text, "game.toml", english);
        ASSERT_TRUE(read.game) << read.problem << "\n" << text;
        EXPECT_EQ(savedGameText(*read.game), text);
    }
}

TEST(SavedGame, StateFileFollowsTheDesktopsConventions) {
    const struct {
        std::map<std::string, std::string> variables;
        bool windows;
        std::string path;
    } cases[] = {
        {{{"XDG_STATE_HOME", "x"}, {"HOME", "/h"}}, false, "/h/.local/state/kraxelbrett/game.toml"},
        {{{"XDG_STATE_HOME", ""}, {"HOME", ""}}, false, ""},
        {{{"LOCALAPPDATA", "C:"}}, true, (fs::path("C:") / "kraxelbrett" / "game.toml").string()},
        {{{"HOME", "/h"}}, true, ""},
    };
    for (const auto& test : cases) {
        const auto environment = [&test](const char* name) -> const char* {
            const auto found = test.variables.find(name);
            return found == test.variables.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(stateFilePath(environment, test.windows), test.path);
    }
}

TEST(SavedGame, SavingReplacesTheFileWholeOrNotAtAll) {
    const TemporaryFolder folder("kraxelbrett-save-");
    const std::string path = (folder.path / "state" / "game.toml").string();
    ASSERT_EQ(saveAtomically(path, "old", english), "");
    ASSERT_EQ(saveAtomically(path, "new", english), "");
    EXPECT_EQ(contents(path), "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // A full disk, for real: the file may grow to 4 KiB only, and the write past it fails.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string why = saveAtomically(path, std::string(10000, 'x'), english);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(why, "cannot write " + path + ": File too large");
    EXPECT_EQ(contents(path), "new");
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path / "state"), {}), 1);

    std::ofstream(folder.path / "plain") << "a file";
    EXPECT_EQ(saveAtomically((folder.path / "plain" / "game.toml").string(), "x", english),
              "cannot make the folder " + (folder.path / "plain").string() + ": Not a directory");
}

TEST(SavedGame, OnlyARegularFileIsRead) {
    const TemporaryFolder folder("kraxelbrett-save-");
    const std::string path = folder.path.string();
    EXPECT_EQ(readSavedGame(path, english).problem, path + ": is a folder, not a saved game");
    std::ofstream(folder.path / "big.toml") << std::string(64 * 1024 + 1, '#');
    EXPECT_EQ(readSavedGame(path + "/big.toml", english).problem,
              path + "/big.toml: larger than 64 KiB; no saved game is");
}

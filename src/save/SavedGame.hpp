#pragma once

#include "players/Standing.hpp"

#include <functional>
#include <locale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// A player as a saved game keeps them.
struct SavedPlayer {
    Standing standing;
    /// The name a phone gave, UTF-8; empty for a keyboard player.
    std::string name;
    /// The secret the seat's phone proves it is its own with; empty for none.
    std::string secret;
};

/// What a running game is, as much as it takes to show the same screen again.
struct SavedGame {
    /// The deck as it was given on the command line; empty for the built-in board.
    std::string deck;
    /// In order of joining, at most nine.
    std::vector<SavedPlayer> players;
    /// Whose turn comes next, an index into `players` (0 while there are none).
    int currentPlayer = 0;
    /// The row the marker stands beside: that of the last roller.
    int markedPlayer = 0;
    /// The finished players, by index, in the order they reached the goal.
    std::vector<int> finishOrder;
    /// The player whose task card shows, or -1 for none.
    int cardPlayer = -1;
    /// The key of the phones' link; empty when the game had no phones.
    std::string phoneKey;
};

/// The saved game as the state file holds it, TOML.
std::string savedGameText(const SavedGame& game);

/// What reading a state file gave: the game, or one line saying what is wrong and where
/// (`FILE:LINE: what`, without a line feed).
struct SavedGameRead {
    std::optional<SavedGame> game;
    std::string problem;
};

/// Reads and checks the state file's text; `path` names it in the problem, which is in the
/// language of `words` (toml++'s own words about the syntax stay as they are).
SavedGameRead parseSavedGame(std::string_view text, const std::string& path,
                             const std::locale& words);

/// Reads and checks the state file at the path.
SavedGameRead readSavedGame(const std::string& path, const std::locale& words);

/// Where the game is saved, by the desktop's conventions: $XDG_STATE_HOME/kraxelbrett/game.toml,
/// else ~/.local/state/kraxelbrett/game.toml; on Windows %LOCALAPPDATA%\kraxelbrett\game.toml.
/// Empty when the environment names no such folder.
std::string stateFilePath(const std::function<const char*(const char* name)>& environment,
                          bool windows);

/// Writes the text to the path as a whole or not at all: into a new file beside it, which then
/// replaces it, so that a failed write or a pulled plug leaves the last good file. Makes the
/// folders on the way. Returns why it failed, in the language of `words` around the system's
/// own reason, or nothing.
std::string saveAtomically(const std::string& path, const std::string& text,
                           const std::locale& words);

#pragma once

#include <string>
#include <vector>

/// What the command line asks for.
struct CommandLine {
    enum class Action { play, help, version, listDecks, check, usage };
    Action action = Action::play;
    /// The deck to play or check, a file or a deck's name; empty plays the built-in board.
    std::string deck;
    /// Whether the game starts with its sound off.
    bool mute = false;
};

/// Reads the arguments after the program's name. It needs no display and no file, so that
/// `--help` and `--version` answer on a machine without a display, and before anything else.
CommandLine readCommandLine(const std::vector<std::string>& arguments);

/// The text of `--help`, `--version` and of a wrong command line.
std::string helpText();
std::string versionText();
std::string usageText();

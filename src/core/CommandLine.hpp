#pragma once

#include <locale>
#include <optional>
#include <string>
#include <vector>

/// The port phones reach the game at without --phones=ADDRESS:PORT (or the next free one).
constexpr unsigned short defaultPhonePort = 8112;

/// Where the phones' server listens.
struct PhonesPlace {
    /// "0.0.0.0": every interface.
    std::string address = "0.0.0.0";
    unsigned short port = defaultPhonePort;
    /// Given as ADDRESS:PORT: that port or none; otherwise the next free one will do.
    bool exact = false;
};

/// What the command line asks for.
struct CommandLine {
    enum class Action { play, help, version, listDecks, check, usage };
    Action action = Action::play;
    /// The deck to play or check, a file or a deck's name; empty plays the built-in board.
    std::string deck;
    /// Whether the game starts with its sound off.
    bool mute = false;
    /// With --phones: where the phones' server listens.
    std::optional<PhonesPlace> phones = std::nullopt;
    /// The sofa view: with --tv, and always with phones or --resume.
    bool tv = false;
    /// Goes on with the game that was saved last (--resume).
    bool resume = false;
};

/// Reads the arguments after the program's name. It needs no display and no file, so that
/// `--help` and `--version` answer on a machine without a display, and before anything else.
CommandLine readCommandLine(const std::vector<std::string>& arguments);

/// The text of `--help`, `--version` and of a wrong command line, in the language given.
std::string helpText(const std::locale& words);
std::string versionText();
std::string usageText(const std::locale& words);

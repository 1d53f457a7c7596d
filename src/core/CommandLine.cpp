#include "core/CommandLine.hpp"

namespace {
const char* const usage = "Usage: kraxelbrett [--help | --version]\n";

const char* const help =
    "Kraxelbrett: a party board game for a group at one screen, a race over 113 fields with\n"
    "tasks for the group to carry out.\n"
    "\n"
    "Usage: kraxelbrett [--help | --version]\n"
    "Without arguments the game starts full screen with the board alone.\n"
    "\n"
    "Keys:\n"
    "  numpad +   a new player joins (up to nine)\n"
    "  numpad -   the last player leaves\n"
    "  W          the player whose turn it is rolls the die\n"
    "  Escape     ends the game\n";
} // namespace

CommandLineAnswer answerCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return {true, 0, "", ""};
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        return {false, 0, std::string("kraxelbrett ") + KRAXELBRETT_VERSION + "\n", ""};
    }
    if (arguments.size() == 1 && arguments[0] == "--help") {
        return {false, 0, help, ""};
    }
    return {false, 2, "", usage};
}

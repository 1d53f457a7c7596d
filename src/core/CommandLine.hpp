#pragma once

#include <string>
#include <vector>

/// What the command line asks for: the game, or only a text and an exit code.
struct CommandLineAnswer {
    bool play = false;
    int exitCode = 0;
    std::string out;
    std::string err;
};

/// Reads the arguments after the program's name. It needs no display, so that `--help` and
/// `--version` answer on a machine without one, and before anything else starts.
CommandLineAnswer answerCommandLine(const std::vector<std::string>& arguments);

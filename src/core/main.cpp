#include "core/CommandLine.hpp"
#include "core/DisplayCheck.hpp"
#include "core/Game.hpp"

#include <cstdlib>
#include <iostream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
// A fixed seed replays the same rolls, so that a whole game can be scripted and checked.
GameOptions optionsFromEnvironment() {
    GameOptions options;
    if (const char* seed = std::getenv("KRAXELBRETT_SEED")) {
        options.seed = static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10));
    }
    return options;
}
} // namespace

int main(int argc, char* argv[]) {
    // First of all: --help and --version answer without a display, and on Windows while the
    // console they print to is still there.
    const CommandLineAnswer answer =
        answerCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (!answer.play) {
        std::cout << answer.out;
        std::cerr << answer.err;
        return answer.exitCode;
    }
    const std::string problem = displayProblem();
    if (!problem.empty()) {
        std::cerr << problem;
        return 1;
    }
#ifdef _WIN32
    FreeConsole();
#endif
    Game game(optionsFromEnvironment());
    while (game.isOpen()) {
        game.update();
        game.render();
    }
    return 0;
}

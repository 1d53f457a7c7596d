#include "core/CommandLine.hpp"
#include "core/DisplayCheck.hpp"
#include "core/Game.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

// An answer that did not reach its reader (a full disk, a closed pipe) is no success.
int answer(const CommandLineAnswer& answer) {
    std::cout << answer.out << std::flush;
    std::cerr << answer.err << std::flush;
    if (!std::cout || !std::cerr) {
        const int error = errno;
        std::cerr << "kraxelbrett: cannot write the answer: " << std::strerror(error) << '\n';
        return 1;
    }
    return answer.exitCode;
}
} // namespace

int main(int argc, char* argv[]) {
    // First of all: --help and --version answer without a display, and on Windows while the
    // console they print to is still there.
    const CommandLineAnswer asked =
        answerCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (!asked.play) {
        return answer(asked);
    }
    DisplayConnection display;
    if (!display.problem().empty()) {
        std::cerr << display.problem();
        return 1;
    }
#ifdef _WIN32
    FreeConsole();
#endif
    Game game(optionsFromEnvironment());
    display.close();
    while (game.isOpen()) {
        game.update();
        game.render();
    }
    return 0;
}

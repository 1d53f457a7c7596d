#include "core/CommandLine.hpp"
#include "core/Game.hpp"

#include <iostream>

#ifdef _WIN32
#include <windows.h>
#endif

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
#ifdef _WIN32
    FreeConsole();
#endif
    Game game;
    while (game.isOpen()) {
        game.update();
        game.render();
    }
    return 0;
}

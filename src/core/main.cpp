#include "core/Game.hpp"

#include <cstdlib>

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

int main() {
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

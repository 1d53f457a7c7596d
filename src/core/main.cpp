#include "core/Game.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

int main() {
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

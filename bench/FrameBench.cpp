// What a frame of the game costs on this machine, against a frame that is only cleared and
// shown, and what the real loop, the start-up and the memory come to. Needs an X display;
// `make bench` starts Xvfb when there is none.

#include "GameProcess.hpp"
#include "PlainFrame.hpp"
#include "XScreen.hpp"
#include "core/Game.hpp"
#include "players/StatusPanel.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Clock.hpp>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <thread>

namespace {
GameOptions unlimited() {
    GameOptions options;
    options.frameLimit = 0;
    return options;
}

// Nine players spread over the board, one of them waiting, the tokens settled.
void seatNinePlayers(Game& game) {
    sf::Event add{};
    add.type = sf::Event::KeyPressed;
    add.key.code = sf::Keyboard::Add;
    const int fields[] = {0, 0, 17, 22, 22, 60, 101, 112, 112};
    for (const int field : fields) {
        game.handleEvent(add);
        game.players.back().setField(field, game.fieldTexts[field].text);
        game.arrangeTokens(field);
    }
    game.players[5].startWaiting();
    for (int frame = 0; frame < 60; ++frame) {
        for (Player& player : game.players) {
            player.stepToken();
        }
    }
}

// Frames of the same window only cleared and shown, in milliseconds each: the floor that
// every frame pays for getting its pixels to the screen.
double clearedFrameMs(sf::RenderWindow& window) {
    const int frames = 200;
    const sf::Clock clock;
    for (int frame = 0; frame < frames; ++frame) {
        window.clear(sf::Color::Black);
        window.display();
    }
    return clock.getElapsedTime().asSeconds() * 1000.0 / frames;
}

void gameFrameNinePlayers(benchmark::State& state) {
    Game game(unlimited());
    seatNinePlayers(game);
    const sf::Clock clock;
    for (auto _ : state) {
        game.render();
    }
    const double frameMs =
        clock.getElapsedTime().asSeconds() * 1000.0 / static_cast<double>(state.iterations());
    const double clearedMs = clearedFrameMs(*game.window);
    state.counters["cleared_ms"] = clearedMs;
    state.counters["ratio"] = frameMs / clearedMs;
}

void plainFrameNinePlayers(benchmark::State& state) {
    Game game(unlimited());
    seatNinePlayers(game);
    for (auto _ : state) {
        drawPlainly(game, *game.window);
        game.window->display();
    }
}

void mainLoopFiveSeconds(benchmark::State& state) {
    for (auto _ : state) {
        Game game;
        seatNinePlayers(game);
        int frames = 0;
        const sf::Clock clock;
        while (clock.getElapsedTime() < sf::seconds(5.f)) {
            game.update();
            game.render();
            ++frames;
        }
        state.counters["fps"] = static_cast<double>(frames) / clock.getElapsedTime().asSeconds();
    }
}

long residentKilobytes(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// From launch to the first frame on the screen, and the memory once nine players joined.
void startUpAndMemory(benchmark::State& state) {
    XScreen screen;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        GameProcess game(KRAXELBRETT_BINARY, KRAXELBRETT_BUILD_DIR);
        screen.waitFor([](const XScreen& s) { return s.pixel(138, 98) == sf::Color(0, 126, 255); },
                       std::chrono::seconds(15), sf::IntRect(138, 98, 1, 1));
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(elapsed.count());

        for (int player = 0; player < maxPlayers; ++player) {
            screen.tap(XK_KP_Add);
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
        state.counters["rss_MiB"] = static_cast<double>(residentKilobytes(game.id())) / 1024.0;
        screen.tap(XK_Escape);
        game.waitForExit(std::chrono::seconds(10));
    }
}
} // namespace

BENCHMARK(gameFrameNinePlayers)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(plainFrameNinePlayers)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(mainLoopFiveSeconds)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(startUpAndMemory)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

BENCHMARK_MAIN();

// What a frame of the game costs on this machine, against a frame that is only cleared and
// shown, and what the real loop, the start-up and the memory come to; then what the real game
// costs while nothing moves, against a bare loop that clears and shows 60 frames a second, and
// how soon a key shows on the screen. KRAXELBRETT_BASELINE names another build's binary to
// measure beside this one. Needs an X display; `make bench` starts Xvfb when there is none.

#include "GameProcess.hpp"
#include "Measures.hpp"
#include "PlainFrame.hpp"
#include "XScreen.hpp"
#include "core/DisplayCheck.hpp"
#include "core/Game.hpp"
#include "players/StatusPanel.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Clock.hpp>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
// The games made and ended here one after another would each leave the X server without a
// client for a moment, and it resets then: held for the whole run.
const DisplayConnection heldDisplay{std::locale::classic()};

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
        game.drawFrame(*game.window);
        game.window->display();
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

// Passes of the main loop while nothing moves: each looks at the window's events.
void mainLoopFiveSeconds(benchmark::State& state) {
    for (auto _ : state) {
        Game game;
        seatNinePlayers(game);
        int passes = 0;
        const sf::Clock clock;
        while (clock.getElapsedTime() < sf::seconds(5.f)) {
            game.update();
            game.render();
            ++passes;
        }
        state.counters["passes_per_s"] =
            static_cast<double>(passes) / clock.getElapsedTime().asSeconds();
    }
}

// From launch to the first frame on the screen, and the memory once nine players joined.
void startUpAndMemory(benchmark::State& state) {
    XScreen screen;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        GameProcess game(KRAXELBRETT_BINARY, KRAXELBRETT_BUILD_DIR);
        if (!awaitBoard(screen, state)) {
            return;
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
        state.SetIterationTime(elapsed.count());

        if (!joinNinePlayers(screen)) {
            state.SkipWithError("nine players did not join");
            return;
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
        state.counters["rss_MiB"] = static_cast<double>(residentKilobytes(game.id())) / 1024.0;
        screen.tap(XK_Escape);
        game.waitForExit(std::chrono::seconds(10));
    }
}

// Measured first, for the games measured after it to be set against.
double bareLoopPercent = 0;

void bareLoopCpu(benchmark::State& state) {
    for (auto _ : state) {
        GameProcess loop(KRAXELBRETT_BARE_LOOP, KRAXELBRETT_BUILD_DIR);
        std::this_thread::sleep_for(settlingTime);
        bareLoopPercent = cpuPercent(loop.id());
    }
    state.counters["cpu_%"] = bareLoopPercent;
}

// A game binary started from its own folder, which holds its assets: its CPU while nothing
// moves, with the board alone and with nine settled players, and the time from a key to the
// screen while it is idle, over the ninth player leaving and joining ten times each.
void idleGame(benchmark::State& state, const std::string& binary) {
    XScreen screen;
    for (auto _ : state) {
        GameProcess game(binary, std::filesystem::path(binary).parent_path().string());
        if (!awaitBoard(screen, state)) {
            return;
        }
        std::this_thread::sleep_for(settlingTime);
        const double empty = cpuPercent(game.id());

        if (!joinNinePlayers(screen)) {
            state.SkipWithError("nine players did not join");
            return;
        }
        std::this_thread::sleep_for(settlingTime);
        const double nine = cpuPercent(game.id());

        const std::optional<KeyTimes> keys = ninthRowKeys(screen);
        if (!keys) {
            state.SkipWithError("a key did not reach the screen within 5 s");
            return;
        }
        screen.tap(XK_Escape);
        game.waitForExit(std::chrono::seconds(10));

        state.counters["empty_cpu_%"] = empty;
        state.counters["nine_cpu_%"] = nine;
        state.counters["empty_of_bare"] = empty / bareLoopPercent;
        state.counters["nine_of_bare"] = nine / bareLoopPercent;
        state.counters["key_ms"] = keys->meanMs;
        state.counters["key_max_ms"] = keys->longestMs;
    }
}

// A whole turn, from pressing W to the first frame without the die, against its designed
// length: the waits between the die's frames and the pause after the last. The seed makes the
// first roll the value given (30 frames for a 1, 35 for a 6).
void turnLength(benchmark::State& state, const std::string& binary, const char* seed, int frames) {
    setenv("KRAXELBRETT_SEED", seed, 1);
    XScreen screen;
    for (auto _ : state) {
        GameProcess game(binary, std::filesystem::path(binary).parent_path().string());
        if (!awaitBoard(screen, state)) {
            return;
        }
        screen.tap(XK_KP_Add);
        std::this_thread::sleep_for(settlingTime);
        screen.capture(dieCentre);
        const sf::Color board = screen.pixel(dieCentre.left, dieCentre.top);

        const auto pressed = std::chrono::steady_clock::now();
        screen.press(XK_w);
        const bool ended = waitForPixel(screen, dieCentre, board, true, std::chrono::seconds(2)) &&
                           waitForPixel(screen, dieCentre, board, false, std::chrono::seconds(10));
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - pressed;
        screen.release(XK_w);
        screen.tap(XK_Escape);
        game.waitForExit(std::chrono::seconds(10));
        unsetenv("KRAXELBRETT_SEED");
        if (!ended) {
            state.SkipWithError("the die did not come and go");
            return;
        }
        const double designedMs = 7.0 * frames * (frames - 1) / 2 + 1000.0;
        state.counters["turn_ms"] = elapsed.count();
        state.counters["designed_ms"] = designedMs;
        state.counters["over_ms"] = elapsed.count() - designedMs;
    }
}

const char* const baselineVariable = "KRAXELBRETT_BASELINE";

// The game is started from its own folder, so a path relative to here would not do.
std::string baselineBinary() {
    return std::filesystem::absolute(std::getenv(baselineVariable)).string();
}

void idleBaseline(benchmark::State& state) {
    idleGame(state, baselineBinary());
}

void turnBaseline(benchmark::State& state, const char* seed, int frames) {
    turnLength(state, baselineBinary(), seed, frames);
}
// From launch to the first frame with --tv, of this build and of the baseline by turns, so that
// both meet the machine as it is at that moment: the median of each over 20 launches.
void launchAgainstBaseline(benchmark::State& state) {
    XScreen screen;
    constexpr int launches = 20;
    for (auto _ : state) {
        std::array<std::vector<double>, 2> times;
        for (int launch = 0; launch < 2 * launches; ++launch) {
            const std::string binary =
                launch % 2 == 0 ? std::string(KRAXELBRETT_BINARY) : baselineBinary();
            const auto started = std::chrono::steady_clock::now();
            GameProcess game(binary, std::filesystem::path(binary).parent_path().string(),
                             {"--tv"});
            if (!awaitBoard(screen, state)) {
                return;
            }
            const std::chrono::duration<double, std::milli> elapsed =
                std::chrono::steady_clock::now() - started;
            times[static_cast<std::size_t>(launch % 2)].push_back(elapsed.count());
            screen.tap(XK_Escape);
            game.waitForExit(std::chrono::seconds(10));
        }
        for (auto& measured : times) {
            std::sort(measured.begin(), measured.end());
        }
        const auto median = [](const std::vector<double>& sorted) {
            return (sorted[launches / 2 - 1] + sorted[launches / 2]) / 2.0;
        };
        state.counters["this_ms"] = median(times[0]);
        state.counters["baseline_ms"] = median(times[1]);
    }
}
} // namespace

BENCHMARK(gameFrameNinePlayers)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(plainFrameNinePlayers)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(mainLoopFiveSeconds)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(startUpAndMemory)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK_CAPTURE(turnLength, rolled_1, std::string(KRAXELBRETT_BINARY), "7", 30)
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(turnLength, rolled_6, std::string(KRAXELBRETT_BINARY), "4", 35)
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK(bareLoopCpu)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(idleGame, this_build, std::string(KRAXELBRETT_BINARY))
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

// Another build's binary, measured the same way after this one's, when one is named.
const bool baselineRegistered = [] {
    if (std::getenv(baselineVariable) == nullptr) {
        return false;
    }
    benchmark::RegisterBenchmark("turnLength/baseline_rolled_1", turnBaseline, "7", 30)
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("turnLength/baseline_rolled_6", turnBaseline, "4", 35)
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("idleGame/baseline", idleBaseline)
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("launchTv/alternating", launchAgainstBaseline)
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    return true;
}();

BENCHMARK_MAIN();

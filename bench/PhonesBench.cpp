// What playing from phones costs, over loopback, beside the same game at the keyboard: a tap on
// Roll to the first frame with the die against a W; the CPU of a game with nine phones
// connected and pinging, idle, against nine keyboard players; the CPU of the lobby against the
// board alone; the memory of a game with 32 connections against one without --phones; a key's
// way to the screen under a flood; and page loads, a phone coming back and a key, while one
// device holds more half-sent requests than the game has places.

#include "GameProcess.hpp"
#include "Measures.hpp"
#include "XScreen.hpp"

#include <X11/keysym.h>
#include <benchmark/benchmark.h>
#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <nlohmann/json.hpp>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {
namespace beast = boost::beast;
namespace websocket = beast::websocket;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;
using namespace std::chrono_literals;

const unsigned short port = 18112;
const std::string buildFolder = KRAXELBRETT_BUILD_DIR;

/// A phone's socket, from a loopback address of its own choosing.
class BenchPhone {
public:
    BenchPhone(net::io_context& io, const std::string& key, const std::string& from) : ws(io) {
        tcp::socket& socket = beast::get_lowest_layer(ws).socket();
        socket.open(tcp::v4());
        socket.bind({net::ip::make_address(from), 0});
        socket.connect({net::ip::make_address("127.0.0.1"), port});
        const std::string host = "127.0.0.1:" + std::to_string(port);
        ws.set_option(websocket::stream_base::decorator([host](websocket::request_type& request) {
            request.set(beast::http::field::origin, "http://" + host);
        }));
        beast::get_lowest_layer(ws).expires_after(5s);
        ws.handshake(host, "/" + key + "/ws");
    }

    void send(const nlohmann::json& message) { ws.write(net::buffer(message.dump())); }

    /// Reads until a message of the type arrives; false after five seconds without it.
    bool awaitType(const std::string& type) { return !awaitMessage(type).is_null(); }

    /// The first message of the type to arrive; null after five seconds without one.
    nlohmann::json awaitMessage(const std::string& type) {
        beast::error_code error;
        for (;;) {
            beast::flat_buffer buffer;
            beast::get_lowest_layer(ws).expires_after(5s);
            ws.read(buffer, error);
            if (error) {
                return nullptr;
            }
            auto message =
                nlohmann::json::parse(beast::buffers_to_string(buffer.data()), nullptr, false);
            if (message.is_object() && message.value("type", "") == type) {
                return message;
            }
        }
    }

    /// Cuts the connection as a phone losing the Wi-Fi does: without a word.
    void cut() { beast::get_lowest_layer(ws).socket().close(); }

    /// Sends pings and rolls out of turn, one after the other, as fast as the socket takes them
    /// and reading no answer, until the io_context stops or the server ends the connection.
    void flood() {
        static const std::string messages[] = {R"({"type":"ping"})", R"({"type":"roll"})"};
        ws.async_write(net::buffer(messages[++sent % 2]), [this](beast::error_code error, auto) {
            if (!error) {
                flood();
            }
        });
    }

    /// How many messages it has sent.
    unsigned long count() const { return sent; }

private:
    websocket::stream<beast::tcp_stream> ws;
    unsigned long sent = 0;
};

/// Eight phones from another loopback address flooding the game, on a thread of their own,
/// until destroyed.
class Flood {
public:
    explicit Flood(const std::string& key) {
        for (int phone = 0; phone < 8; ++phone) {
            phones.push_back(std::make_unique<BenchPhone>(io, key, "127.0.0.2"));
            phones.back()->flood();
        }
        thread = std::thread([this] { io.run(); });
    }
    /// Stops the phones; how many messages they sent.
    unsigned long stop() {
        io.stop();
        if (thread.joinable()) {
            thread.join();
        }
        unsigned long sent = 0;
        for (const auto& phone : phones) {
            sent += phone->count();
        }
        return sent;
    }
    ~Flood() { stop(); }
    Flood(const Flood&) = delete;
    Flood& operator=(const Flood&) = delete;

private:
    net::io_context io;
    std::vector<std::unique_ptr<BenchPhone>> phones;
    std::thread thread;
};

/// One device on the Wi-Fi holding 36 half-sent requests, twelve (the most one address may
/// have) from each of three loopback addresses, sent anew every five seconds, on a thread of
/// its own until destroyed.
class Siege {
public:
    explicit Siege(const std::string& key) : thread([this, key] { hold(key); }) {}
    ~Siege() {
        stopping = true;
        thread.join();
    }
    Siege(const Siege&) = delete;
    Siege& operator=(const Siege&) = delete;

private:
    void hold(const std::string& key) {
        const std::string half =
            "GET /" + key + "/ HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n";
        while (!stopping) {
            std::vector<tcp::socket> held;
            for (int request = 0; request < 36; ++request) {
                tcp::socket& socket = held.emplace_back(io);
                beast::error_code ignored;
                socket.open(tcp::v4(), ignored);
                socket.bind(
                    {net::ip::make_address("127.0.0." + std::to_string(2 + request % 3)), 0},
                    ignored);
                socket.connect({net::ip::make_address("127.0.0.1"), port}, ignored);
                net::write(socket, net::buffer(half), ignored);
            }
            for (int tenth = 0; tenth < 50 && !stopping; ++tenth) {
                std::this_thread::sleep_for(100ms);
            }
        }
    }

    net::io_context io;
    std::atomic<bool> stopping{false};
    std::thread thread;
};

/// A page load from another address than the siege's, to its answer; nothing unless it is a 200
/// within five seconds.
std::optional<double> pageLoadMs(const std::string& key) {
    const auto started = std::chrono::steady_clock::now();
    net::io_context io;
    beast::tcp_stream stream(io);
    beast::error_code error;
    stream.socket().open(tcp::v4(), error);
    stream.socket().bind({net::ip::make_address("127.0.0.5"), 0}, error);
    stream.expires_after(5s);
    stream.connect({net::ip::make_address("127.0.0.1"), port}, error);
    http::request<http::empty_body> request{http::verb::get, "/" + key + "/", 11};
    request.set(http::field::host, "127.0.0.1:" + std::to_string(port));
    request.keep_alive(false);
    http::write(stream, request, error);
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    http::read(stream, buffer, response, error);
    if (error || response.result() != http::status::ok) {
        return std::nullopt;
    }
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;
    return took.count();
}

/// The game with --phones on loopback, and the key of its link, read from what it prints.
struct PhonesGame {
    PhonesGame()
        : output(std::filesystem::temp_directory_path() / "kraxelbrett-bench.out"),
          game(KRAXELBRETT_BINARY, buildFolder, {"--phones=127.0.0.1:" + std::to_string(port)},
               output.string()) {
        for (int attempt = 0; attempt < 100 && key.empty(); ++attempt) {
            std::this_thread::sleep_for(50ms);
            std::ifstream said(output);
            std::string line;
            std::getline(said, line);
            const std::size_t at = line.rfind('/', line.size() - 2);
            if (line.size() > 34 && at != std::string::npos) {
                key = line.substr(at + 1, 32);
            }
        }
    }
    ~PhonesGame() { std::filesystem::remove(output); }

    /// Whether the game printed its link and shows its lobby, then (unless `lobby`) its board
    /// with Q; if not, the benchmark fails.
    bool ready(XScreen& screen, benchmark::State& state, bool lobby = false) const {
        if (key.empty() || !waitForPixel(screen, lobbyCodePixel, sf::Color::White, false, 15s)) {
            state.SkipWithError("the game with --phones did not start");
            return false;
        }
        if (lobby) {
            return true;
        }
        // Q once the window takes keys.
        std::this_thread::sleep_for(settlingTime);
        screen.tap(XK_q);
        if (screen.waitFor(boardShown, 5s, boardPixel)) {
            return true;
        }
        state.SkipWithError("Q did not show the board");
        return false;
    }

    std::filesystem::path output;
    GameProcess game;
    std::string key;
    net::io_context io;
};

// What `measure` gives of the game without --phones, by its process id, once its board (with
// nine players joined at the keyboard, if asked) has settled; nothing if it did not get there.
std::optional<double> measurePlainGame(XScreen& screen, benchmark::State& state,
                                       const std::function<double(int)>& measure,
                                       bool ninePlayers = false) {
    GameProcess game(KRAXELBRETT_BINARY, buildFolder);
    if (!awaitBoard(screen, state)) {
        return std::nullopt;
    }
    if (ninePlayers && !joinNinePlayers(screen)) {
        state.SkipWithError("nine players did not join");
        return std::nullopt;
    }
    std::this_thread::sleep_for(settlingTime);
    const double measured = measure(game.id());
    screen.tap(XK_Escape);
    game.waitForExit(10s);
    return measured;
}

// From the tap or the key to the first frame with the die, in milliseconds; then the roll is
// waited out.
std::optional<double> toDieMs(XScreen& screen, sf::Color board, const std::function<void()>& roll) {
    const auto started = std::chrono::steady_clock::now();
    roll();
    if (!waitForPixel(screen, dieCentre, board, true, 2s)) {
        return std::nullopt;
    }
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - started;
    if (!waitForPixel(screen, dieCentre, board, false, 10s)) {
        return std::nullopt;
    }
    std::this_thread::sleep_for(700ms);
    return elapsed.count();
}

void tapToDie(benchmark::State& state) {
    XScreen screen;
    for (auto _ : state) {
        PhonesGame phones;
        if (!phones.ready(screen, state)) {
            return;
        }
        BenchPhone phone(phones.io, phones.key, "127.0.0.1");
        phone.send({{"type", "join"}, {"name", "Bench"}});
        if (!phone.awaitType("seated")) {
            state.SkipWithError("the phone was not seated");
            return;
        }
        std::this_thread::sleep_for(settlingTime);
        screen.capture(dieCentre);
        const sf::Color board = screen.pixel(dieCentre.left, dieCentre.top);

        double keyMs = 0;
        double tapMs = 0;
        const int rolls = 3;
        for (int roll = 0; roll < rolls; ++roll) {
            const auto key = toDieMs(screen, board, [&] { screen.tap(XK_w); });
            const auto tap = toDieMs(screen, board, [&] { phone.send({{"type", "roll"}}); });
            if (!key || !tap) {
                state.SkipWithError("a roll did not show its die within 2 s");
                return;
            }
            keyMs += *key / rolls;
            tapMs += *tap / rolls;
        }
        screen.tap(XK_Escape);
        phones.game.waitForExit(10s);
        state.counters["key_to_die_ms"] = keyMs;
        state.counters["tap_to_die_ms"] = tapMs;
    }
}

// Nine phones joined and pinging every five seconds, as their pages do, against nine players
// joined at the keyboard of a game without --phones.
void idleWithNinePhones(benchmark::State& state) {
    XScreen screen;
    for (auto _ : state) {
        const std::optional<double> keyboard = measurePlainGame(screen, state, cpuPercent, true);
        if (!keyboard) {
            return;
        }

        PhonesGame phones;
        if (!phones.ready(screen, state)) {
            return;
        }
        std::vector<std::unique_ptr<BenchPhone>> nine;
        for (int seat = 0; seat < 9; ++seat) {
            nine.push_back(std::make_unique<BenchPhone>(phones.io, phones.key, "127.0.0.1"));
            nine.back()->send({{"type", "join"}, {"name", "Phone " + std::to_string(seat)}});
            if (!nine.back()->awaitType("seated")) {
                state.SkipWithError("a phone was not seated");
                return;
            }
        }
        std::this_thread::sleep_for(settlingTime);
        const double before = cpuSeconds(phones.game.id());
        const auto started = std::chrono::steady_clock::now();
        for (int round = 0; round < 2; ++round) {
            for (auto& phone : nine) {
                phone->send({{"type", "ping"}});
                phone->awaitType("pong");
            }
            std::this_thread::sleep_for(5s);
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
        const double withPhones = 100.0 * (cpuSeconds(phones.game.id()) - before) / elapsed.count();
        screen.tap(XK_Escape);
        phones.game.waitForExit(10s);
        state.counters["keyboard_cpu_%"] = *keyboard;
        state.counters["phones_cpu_%"] = withPhones;
        state.counters["more_cpu_%"] = withPhones - *keyboard;
    }
}

// The memory of the game with 32 connections (twelve from each of two loopback addresses and
// eight from a third, as the limit per address allows) against the game without --phones.
void memoryWith32Connections(benchmark::State& state) {
    XScreen screen;
    for (auto _ : state) {
        const std::optional<double> without = measurePlainGame(
            screen, state, [](int pid) { return static_cast<double>(residentKilobytes(pid)); });
        if (!without) {
            return;
        }

        PhonesGame phones;
        if (!phones.ready(screen, state)) {
            return;
        }
        std::this_thread::sleep_for(settlingTime);
        const long alone = residentKilobytes(phones.game.id());
        std::vector<std::unique_ptr<BenchPhone>> connections;
        for (int connection = 0; connection < 32; ++connection) {
            const std::string from = "127.0.0." + std::to_string(2 + connection / 12);
            connections.push_back(std::make_unique<BenchPhone>(phones.io, phones.key, from));
            connections.back()->awaitType("lobby");
        }
        std::this_thread::sleep_for(1s);
        const long busy = residentKilobytes(phones.game.id());
        connections.clear();
        screen.tap(XK_Escape);
        phones.game.waitForExit(10s);
        state.counters["rss_without_MiB"] = *without / 1024.0;
        state.counters["rss_phones_MiB"] = static_cast<double>(alone) / 1024.0;
        state.counters["rss_32_MiB"] = static_cast<double>(busy) / 1024.0;
        state.counters["more_MiB"] = (static_cast<double>(busy) - *without) / 1024.0;
    }
}

// The time from a key to the screen in a game with --phones and nine players, while no phone is
// connected and while eight phones flood it with messages, beyond the rate a phone may send.
void keyUnderFlood(benchmark::State& state) {
    XScreen screen;
    for (auto _ : state) {
        PhonesGame phones;
        if (!phones.ready(screen, state)) {
            return;
        }
        if (!joinNinePlayers(screen)) {
            state.SkipWithError("nine players did not join");
            return;
        }
        std::this_thread::sleep_for(settlingTime);
        const std::optional<KeyTimes> quiet = ninthRowKeys(screen);
        Flood flood(phones.key);
        std::this_thread::sleep_for(1s);
        const std::optional<KeyTimes> flooded = ninthRowKeys(screen);
        const unsigned long sent = flood.stop();
        screen.tap(XK_Escape);
        phones.game.waitForExit(10s);
        if (!quiet || !flooded) {
            state.SkipWithError("a key did not reach the screen within 5 s");
            return;
        }
        state.counters["quiet_key_ms"] = quiet->meanMs;
        state.counters["quiet_key_max_ms"] = quiet->longestMs;
        state.counters["flood_key_ms"] = flooded->meanMs;
        state.counters["flood_key_max_ms"] = flooded->longestMs;
        state.counters["flood_messages"] = static_cast<double>(sent);
    }
}
// The lobby while nothing moves, against the board alone of a game without --phones.
void idleLobby(benchmark::State& state) {
    XScreen screen;
    for (auto _ : state) {
        const std::optional<double> board = measurePlainGame(screen, state, cpuPercent);
        if (!board) {
            return;
        }
        PhonesGame phones;
        if (!phones.ready(screen, state, true)) {
            return;
        }
        std::this_thread::sleep_for(settlingTime);
        const double lobby = cpuPercent(phones.game.id());
        screen.tap(XK_Escape);
        phones.game.waitForExit(10s);
        state.counters["board_cpu_%"] = *board;
        state.counters["lobby_cpu_%"] = lobby;
        state.counters["more_cpu_%"] = lobby - *board;
    }
}

// While one device holds 36 half-sent requests, more than the game's 32 places: page loads
// from another address twice a second, a seated phone cut off and back on its seat, and a key's
// way to the screen against the quiet game's.
void underSiege(benchmark::State& state) {
    XScreen screen;
    for (auto _ : state) {
        PhonesGame phones;
        if (!phones.ready(screen, state) || !joinNinePlayers(screen)) {
            state.SkipWithError("the game did not start with nine players");
            return;
        }
        std::this_thread::sleep_for(settlingTime);
        const std::optional<KeyTimes> quiet = ninthRowKeys(screen);
        auto phone = std::make_unique<BenchPhone>(phones.io, phones.key, "127.0.0.1");
        phone->send({{"type", "take"}, {"seat", 0}});
        const nlohmann::json seated = phone->awaitMessage("seated");

        std::optional<Siege> siege(phones.key);
        std::this_thread::sleep_for(1s);
        double loadMs = 0;
        double longestLoadMs = 0;
        const int loads = 20;
        for (int load = 0; load < loads; ++load) {
            const std::optional<double> took = pageLoadMs(phones.key);
            if (!took) {
                state.SkipWithError("a page load under siege got no 200 within 5 s");
                return;
            }
            loadMs += *took / loads;
            longestLoadMs = std::max(longestLoadMs, *took);
            std::this_thread::sleep_for(500ms);
        }
        phone->cut();
        const auto cut = std::chrono::steady_clock::now();
        phone = std::make_unique<BenchPhone>(phones.io, phones.key, "127.0.0.1");
        phone->send({{"type", "resume"}, {"seat", 0}, {"secret", seated.value("secret", "")}});
        if (seated.is_null() || !phone->awaitType("seated")) {
            state.SkipWithError("the phone did not get back on its seat");
            return;
        }
        const std::chrono::duration<double, std::milli> back =
            std::chrono::steady_clock::now() - cut;
        const std::optional<KeyTimes> besieged = ninthRowKeys(screen);
        siege.reset();
        screen.tap(XK_Escape);
        phones.game.waitForExit(10s);
        if (!quiet || !besieged) {
            state.SkipWithError("a key did not reach the screen within 5 s");
            return;
        }
        state.counters["page_load_ms"] = loadMs;
        state.counters["page_load_max_ms"] = longestLoadMs;
        state.counters["phone_back_ms"] = back.count();
        state.counters["quiet_key_ms"] = quiet->meanMs;
        state.counters["siege_key_ms"] = besieged->meanMs;
        state.counters["siege_key_max_ms"] = besieged->longestMs;
    }
}
} // namespace

BENCHMARK(tapToDie)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(idleWithNinePhones)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(memoryWith32Connections)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(keyUnderFlood)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(idleLobby)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(underSiege)->Unit(benchmark::kSecond)->Iterations(1);

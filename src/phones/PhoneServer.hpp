#pragma once

#include "phones/PhoneProtocol.hpp"

#include <cstdint>
#include <functional>
#include <locale>
#include <memory>
#include <string>
#include <vector>

/// A phone's WebSocket, numbered by the server from 1; a number is never given twice.
using PhoneId = std::uint64_t;

/// What happened on the phones' side, in the order it happened.
struct PhoneArrival {
    enum class Kind { connected, request, disconnected };
    Kind kind = Kind::request;
    PhoneId phone = 0;
    /// For Kind::request.
    PhoneRequest request;
};

/// The game's side of the phones: what they asked, and what the game tells them. The game's
/// thread calls these; the server never touches the game's state.
class PhoneLink {
public:
    virtual ~PhoneLink() = default;
    /// Everything that arrived since the last call, oldest first.
    virtual std::vector<PhoneArrival> takeArrivals() = 0;
    /// Sends a finished message (JSON text) to the phone, if it is still there.
    virtual void send(PhoneId phone, std::string message) = 0;
};

/// Where and how the server listens.
struct PhoneServerSettings {
    /// The address to listen on: "0.0.0.0" for every interface, or one address.
    std::string address = "0.0.0.0";
    unsigned short port = 0;
    /// Whether the next ports (up to 20 more) are tried when `port` is taken.
    bool tryNextPorts = false;
    /// The link's secret part: 32 lower-case hexadecimal digits.
    std::string key;
    /// The addresses shown for the phones to use; a request's Host must be one of them with
    /// the port listened on.
    std::vector<std::string> shownAddresses;
    /// The language of the page and of the server's refusals: the game's.
    std::locale words = std::locale::classic();
    /// The language of the line `start` returns: the terminal's.
    std::locale told = std::locale::classic();
    /// For tests only: called on the I/O thread as each connection starts being admitted, so
    /// that a test can make admitting fail.
    std::function<void()> admitting;
};

/// The phones' HTTP and WebSocket server, on an I/O thread of its own: serves the page and
/// reads the phones' messages, within the limits that keep a hostile network from hurting
/// the game. Joined when destroyed.
class PhoneServer final : public PhoneLink {
public:
    PhoneServer();
    ~PhoneServer() override;
    PhoneServer(const PhoneServer&) = delete;
    PhoneServer& operator=(const PhoneServer&) = delete;

    /// Listens and starts the I/O thread. Returns a line on why it cannot (the port taken, the
    /// address not this machine's), or nothing.
    std::string start(const PhoneServerSettings& settings);

    /// The port listened on, once started.
    unsigned short port() const;

    std::vector<PhoneArrival> takeArrivals() override;
    void send(PhoneId phone, std::string message) override;

private:
    struct State;
    std::unique_ptr<State> state;
};

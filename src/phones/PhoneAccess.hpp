#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Where an HTTP request to the phones' server goes.
enum class PhoneRoute {
    file,            // 200 with a page file
    redirect,        // 301 from /KEY to /KEY/
    webSocket,       // the phone's WebSocket
    misdirected,     // 421: a Host that is not the game's
    forbidden,       // 403: no key, a wrong key, or a WebSocket from another page
    badMethod,       // 405
    notFound,        // 404
    upgradeRequired, // 426: the WebSocket's path without the upgrade
};

/// What of a request decides where it goes. Empty strings for headers not given exactly once.
struct PhoneAccessRequest {
    std::string_view method;
    std::string_view target;
    std::string_view host;
    std::string_view origin;
    bool upgrade = false;
};

/// What the server lets in.
struct PhoneAccessRules {
    /// 32 lower-case hexadecimal digits.
    std::string key;
    /// Each allowed Host as "address:port".
    std::vector<std::string> hosts;
    /// The page files' names below the key ("" for the page itself).
    std::vector<std::string> files;
};

/// "address:port" as a Host header names it: an IPv6 address in brackets.
std::string hostWithPort(const std::string& address, unsigned port);

/// Where a request goes, with the allowed Host it came by as spelled in the rules.
struct PhoneAccess {
    PhoneRoute route = PhoneRoute::forbidden;
    /// For PhoneRoute::file: the file's name.
    std::string file;
    /// For PhoneRoute::file and webSocket.
    std::string host;
};

/// Checks Host first (so that a rebound DNS name learns nothing), then the key in the path
/// (compared case-insensitively, in time independent of where it differs), the method, the
/// path below the key, and for the WebSocket its Origin, which must be this server's.
PhoneAccess checkPhoneAccess(const PhoneAccessRequest& request, const PhoneAccessRules& rules);

/// Counts the open connections in all and per remote address, within limits. When all are
/// taken, a newcomer still gets in, in place of a connection that has shown no key (the one
/// connected longest ago first), or else of an idle one: phones with the link come first, and
/// nobody on the network can keep them out by holding connections open.
class PhoneAdmission {
public:
    /// Numbered from 1 in the order connections arrive; 0 is none.
    using Connection = std::uint64_t;
    /// What a connection is doing, which decides whether it may make room for a newcomer.
    enum class Standing {
        arriving, // a request still arriving, or a refused one lingering: no key shown
        idle,     // between requests, the key shown
        held,     // being answered with the key, or a phone's WebSocket: never closed for room
    };
    struct Admit {
        /// The newcomer's number, or 0 if refused.
        Connection connection = 0;
        /// A connection that must be closed to make room; it is already no longer counted.
        Connection makesRoom = 0;
        /// Refused because every connection is held: the newcomer is told the game is full.
        bool full = false;
    };

    explicit PhoneAdmission(std::size_t total = 32, std::size_t perAddress = 12);
    /// Counts one more connection from the address, arriving, unless its address has all it
    /// may have, or every connection is held.
    Admit admit(const std::string& address);
    void stand(Connection connection, Standing standing);
    /// Forgets a connection; one that made room is forgotten already.
    void release(Connection connection);

private:
    struct Open {
        std::string address;
        Standing standing = Standing::arriving;
    };
    Connection roomFor() const;
    void forget(std::map<Connection, Open>::iterator found);

    std::size_t total;
    std::size_t perAddress;
    Connection last = 0;
    // By number, so by age.
    std::map<Connection, Open> open;
    std::map<std::string, std::size_t> fromAddress;
};

/// One connection's allowance of messages: a burst of `perSecond`, refilled at that rate.
class PhoneRate {
public:
    enum class Verdict { pass, warn, drop };
    explicit PhoneRate(double perSecond = 20);
    /// For a message arriving at `now`: pass it, or drop it, saying so at most once a second.
    Verdict check(std::chrono::steady_clock::time_point now);

private:
    double perSecond;
    double tokens;
    std::optional<std::chrono::steady_clock::time_point> last;
    std::optional<std::chrono::steady_clock::time_point> warned;
};

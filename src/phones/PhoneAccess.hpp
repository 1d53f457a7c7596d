#pragma once

#include <chrono>
#include <cstddef>
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

/// Counts the open connections in all and per remote address, within limits.
class PhoneAdmission {
public:
    explicit PhoneAdmission(std::size_t total = 32, std::size_t perAddress = 12);
    /// Counts one more connection from the address, unless that would pass a limit.
    bool admit(const std::string& address);
    /// Forgets one connection from the address that was admitted.
    void release(const std::string& address);

private:
    std::size_t total;
    std::size_t perAddress;
    std::size_t open = 0;
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

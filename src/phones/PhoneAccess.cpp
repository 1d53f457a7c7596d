#include "phones/PhoneAccess.hpp"

#include <algorithm>

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// Looks at every character whatever it finds, so that the time taken tells a guesser nothing
// about how much of the key was right.
bool sameKey(std::string_view given, std::string_view key) {
    if (given.size() != key.size() || key.empty()) {
        return false;
    }
    unsigned difference = 0;
    for (std::size_t i = 0; i < key.size(); ++i) {
        difference |= static_cast<unsigned char>(lower(given[i]) ^ key[i]);
    }
    return difference == 0;
}

} // namespace

std::string hostWithPort(const std::string& address, unsigned port) {
    const bool six = address.find(':') != std::string::npos && address.front() != '[';
    return (six ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

PhoneAccess checkPhoneAccess(const PhoneAccessRequest& request, const PhoneAccessRules& rules) {
    PhoneAccess access;
    auto host = std::find_if(rules.hosts.begin(), rules.hosts.end(), [&](const std::string& h) {
        return sameIgnoringCase(request.host, h);
    });
    if (request.host.empty() || host == rules.hosts.end()) {
        access.route = PhoneRoute::misdirected;
        return access;
    }
    std::string_view path = request.target.substr(0, request.target.find('?'));
    if (path.empty() || path.front() != '/') {
        access.route = PhoneRoute::forbidden;
        return access;
    }
    std::size_t keyEnd = std::min(path.find('/', 1), path.size());
    if (!sameKey(path.substr(1, keyEnd - 1), rules.key)) {
        access.route = PhoneRoute::forbidden;
        return access;
    }
    if (request.method != "GET") {
        access.route = PhoneRoute::badMethod;
        return access;
    }
    if (keyEnd == path.size()) {
        access.route = PhoneRoute::redirect;
        return access;
    }
    std::string_view below = path.substr(keyEnd + 1);
    if (below == "ws") {
        if (!request.upgrade) {
            access.route = PhoneRoute::upgradeRequired;
        } else if (sameIgnoringCase(request.origin, "http://" + *host)) {
            access.route = PhoneRoute::webSocket;
            access.host = *host;
        } else {
            access.route = PhoneRoute::forbidden;
        }
        return access;
    }
    if (std::find(rules.files.begin(), rules.files.end(), below) == rules.files.end()) {
        access.route = PhoneRoute::notFound;
        return access;
    }
    access.route = PhoneRoute::file;
    access.file = below;
    access.host = *host;
    return access;
}

PhoneAdmission::PhoneAdmission(std::size_t total, std::size_t perAddress)
    : total(total), perAddress(perAddress) {}

PhoneAdmission::Admit PhoneAdmission::admit(const std::string& address) {
    Admit admit;
    auto found = fromAddress.find(address);
    if (found != fromAddress.end() && found->second >= perAddress) {
        return admit;
    }
    if (open.size() >= total) {
        admit.makesRoom = roomFor();
        if (admit.makesRoom == 0) {
            admit.full = true;
            return admit;
        }
    }
    // Both maps grow before anything is forgotten or counted: should either fail, nothing has
    // changed but an address counting none, which counts as none.
    const Connection next = last + 1;
    const auto entry = open.emplace(next, Open{address}).first;
    try {
        ++fromAddress[address];
    } catch (...) {
        open.erase(entry);
        throw;
    }
    last = next;
    admit.connection = next;
    if (admit.makesRoom != 0) {
        forget(open.find(admit.makesRoom));
    }
    return admit;
}

PhoneAdmission::Connection PhoneAdmission::roomFor() const {
    for (const Standing standing : {Standing::arriving, Standing::idle}) {
        for (const auto& [connection, what] : open) {
            if (what.standing == standing) {
                return connection;
            }
        }
    }
    return 0;
}

void PhoneAdmission::stand(Connection connection, Standing standing) {
    auto found = open.find(connection);
    if (found != open.end()) {
        found->second.standing = standing;
    }
}

void PhoneAdmission::release(Connection connection) {
    auto found = open.find(connection);
    if (found != open.end()) {
        forget(found);
    }
}

void PhoneAdmission::forget(std::map<Connection, Open>::iterator found) {
    auto from = fromAddress.find(found->second.address);
    if (--from->second == 0) {
        fromAddress.erase(from);
    }
    open.erase(found);
}

PhoneRate::PhoneRate(double perSecond) : perSecond(perSecond), tokens(perSecond) {}

PhoneRate::Verdict PhoneRate::check(std::chrono::steady_clock::time_point now) {
    using seconds = std::chrono::duration<double>;
    if (last) {
        tokens = std::min(perSecond, tokens + seconds(now - *last).count() * perSecond);
    }
    last = now;
    if (tokens >= 1) {
        tokens -= 1;
        return Verdict::pass;
    }
    if (warned && now - *warned < std::chrono::seconds(1)) {
        return Verdict::drop;
    }
    warned = now;
    return Verdict::warn;
}

#include "phones/NetworkAddress.hpp"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <string_view>

#ifndef _WIN32
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#endif

namespace {
// Interfaces that no phone on the group's network reaches: containers' bridges, virtual
// machines' bridges, their cables, and VPN tunnels.
constexpr std::array<std::string_view, 7> unreachablePrefixes{"docker", "br-", "virbr", "veth",
                                                              "tun",    "tap", "wg"};

bool reachable(const InterfaceAddress& candidate) {
    const auto startsWith = [&](std::string_view prefix) {
        return std::string_view(candidate.interfaceName).substr(0, prefix.size()) == prefix;
    };
    const std::string_view address = candidate.address;
    return !candidate.loopback && address.substr(0, 4) != "127." &&
           address.substr(0, 8) != "169.254." && address != "0.0.0.0" &&
           std::none_of(unreachablePrefixes.begin(), unreachablePrefixes.end(), startsWith);
}
} // namespace

std::vector<std::string> phoneAddresses(const std::vector<InterfaceAddress>& interfaces,
                                        const std::vector<std::string>& defaultRouteInterfaces) {
    std::vector<InterfaceAddress> candidates;
    std::copy_if(interfaces.begin(), interfaces.end(), std::back_inserter(candidates), reachable);
    const auto onDefaultRoute = [&](const InterfaceAddress& candidate) {
        return std::find(defaultRouteInterfaces.begin(), defaultRouteInterfaces.end(),
                         candidate.interfaceName) != defaultRouteInterfaces.end();
    };
    if (std::any_of(candidates.begin(), candidates.end(), onDefaultRoute)) {
        candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                        [&](const auto& other) { return !onDefaultRoute(other); }),
                         candidates.end());
    }
    std::vector<std::string> addresses;
    for (const InterfaceAddress& candidate : candidates) {
        if (std::find(addresses.begin(), addresses.end(), candidate.address) == addresses.end()) {
            addresses.push_back(candidate.address);
        }
    }
    return addresses;
}

#ifndef _WIN32
std::vector<InterfaceAddress> machineAddresses() {
    std::vector<InterfaceAddress> found;
    ifaddrs* first = nullptr;
    if (getifaddrs(&first) != 0) {
        return found;
    }
    for (const ifaddrs* entry = first; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_UP) == 0) {
            continue;
        }
        std::array<char, INET_ADDRSTRLEN> text{};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text.data(), text.size()) != nullptr) {
            found.push_back({entry->ifa_name, text.data(), (entry->ifa_flags & IFF_LOOPBACK) != 0});
        }
    }
    freeifaddrs(first);
    return found;
}

std::vector<std::string> defaultRouteInterfaces() {
    // The kernel's routing table: a line per route, the interface first, the destination
    // second, all zeros for a default route.
    std::vector<std::string> names;
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::getline(routes, line);
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string name;
        std::string destination;
        if (fields >> name >> destination && destination == "00000000") {
            names.push_back(name);
        }
    }
    return names;
}
#endif

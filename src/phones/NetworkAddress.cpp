#include "phones/NetworkAddress.hpp"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <string_view>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>

#include <memory>
#else
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
    std::ifstream routes("/proc/net/route");
    return defaultRoutesIn(routes);
}
#else
namespace {
// The machine's adapters with their IPv4 addresses and gateways, in the one buffer that holds
// them all, or none.
std::unique_ptr<unsigned char[]> adapters() {
    constexpr ULONG flags = GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_SKIP_ANYCAST |
                            GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    // The size asked for can grow between two calls, as adapters come and go.
    ULONG size = 16 * 1024;
    for (int attempt = 0; attempt < 4; ++attempt) {
        auto buffer = std::make_unique<unsigned char[]>(size);
        const ULONG result = GetAdaptersAddresses(
            AF_INET, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.get()), &size);
        if (result == ERROR_SUCCESS) {
            return buffer;
        }
        if (result != ERROR_BUFFER_OVERFLOW) {
            break;
        }
    }
    return nullptr;
}

template <typename Visit> void forEachUpAdapter(Visit visit) {
    const std::unique_ptr<unsigned char[]> buffer = adapters();
    if (!buffer) {
        return;
    }
    for (const auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.get());
         adapter != nullptr; adapter = adapter->Next) {
        if (adapter->OperStatus == IfOperStatusUp) {
            visit(*adapter);
        }
    }
}

std::string adapterName(const IP_ADAPTER_ADDRESSES& adapter) {
    std::string name;
    const int length = adapter.FriendlyName == nullptr
                           ? 0
                           : WideCharToMultiByte(CP_UTF8, 0, adapter.FriendlyName, -1, nullptr, 0,
                                                 nullptr, nullptr);
    if (length > 1) {
        name.resize(static_cast<std::size_t>(length));
        WideCharToMultiByte(CP_UTF8, 0, adapter.FriendlyName, -1, name.data(), length, nullptr,
                            nullptr);
        name.pop_back();
    } else if (adapter.AdapterName != nullptr) {
        name = adapter.AdapterName;
    }
    // phoneAddresses knows tunnels by the names Linux gives them; Windows names its adapters as
    // their users like and tells a tunnel by its type, so a tunnel gets a tunnel's name.
    return adapter.IfType == IF_TYPE_TUNNEL ? "tun " + name : name;
}
} // namespace

std::vector<InterfaceAddress> machineAddresses() {
    std::vector<InterfaceAddress> found;
    forEachUpAdapter([&](const IP_ADAPTER_ADDRESSES& adapter) {
        for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter.FirstUnicastAddress;
             unicast != nullptr; unicast = unicast->Next) {
            const SOCKADDR* address = unicast->Address.lpSockaddr;
            if (address == nullptr || address->sa_family != AF_INET) {
                continue;
            }
            std::array<char, INET_ADDRSTRLEN> text{};
            const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(address);
            if (inet_ntop(AF_INET, &ipv4->sin_addr, text.data(), text.size()) != nullptr) {
                found.push_back({adapterName(adapter), text.data(),
                                 adapter.IfType == IF_TYPE_SOFTWARE_LOOPBACK});
            }
        }
    });
    return found;
}

std::vector<std::string> defaultRouteInterfaces() {
    // Windows makes an adapter's default gateway its default route.
    std::vector<std::string> names;
    forEachUpAdapter([&](const IP_ADAPTER_ADDRESSES& adapter) {
        if (adapter.FirstGatewayAddress != nullptr) {
            names.push_back(adapterName(adapter));
        }
    });
    return names;
}
#endif

std::vector<std::string> defaultRoutesIn(std::istream& table) {
    std::vector<std::string> names;
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string name;
        std::string destination;
        if (fields >> name >> destination && destination == "00000000") {
            names.push_back(name);
        }
    }
    return names;
}

#pragma once

#include <istream>
#include <string>
#include <vector>

/// One IPv4 address of one of the machine's network interfaces.
struct InterfaceAddress {
    std::string interfaceName;
    /// Dotted, as "192.168.1.20".
    std::string address;
    bool loopback = false;
};

/// The addresses phones can reach the game at, from the machine's interfaces: never loopback,
/// link-local (169.254/16), or the bridges and tunnels of containers and VPNs (docker, br-,
/// virbr, veth, tun, tap, wg). Where some lie on an interface of the default route, those.
std::vector<std::string> phoneAddresses(const std::vector<InterfaceAddress>& interfaces,
                                        const std::vector<std::string>& defaultRouteInterfaces);

/// The machine's IPv4 interface addresses, and the names of the interfaces its default
/// routes go through.
std::vector<InterfaceAddress> machineAddresses();
std::vector<std::string> defaultRouteInterfaces();

/// The interfaces of the default routes in a routing table as Linux's /proc/net/route has it:
/// a heading, then a line per route, the interface first and the destination second, all
/// zeros for a default route.
std::vector<std::string> defaultRoutesIn(std::istream& table);

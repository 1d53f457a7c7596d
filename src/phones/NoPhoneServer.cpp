// A build without the phones' server: --phones says so, and the game is played at the
// keyboard.
#include "phones/NetworkAddress.hpp"
#include "phones/PhoneInvite.hpp"
#include "phones/PhoneServer.hpp"

struct PhoneServer::State {};

PhoneServer::PhoneServer() = default;
PhoneServer::~PhoneServer() = default;

std::string PhoneServer::start(const PhoneServerSettings&) {
    return "kraxelbrett: this build of the game cannot play with phones\n";
}

unsigned short PhoneServer::port() const {
    return 0;
}

std::vector<PhoneArrival> PhoneServer::takeArrivals() {
    return {};
}

void PhoneServer::send(PhoneId, std::string) {}

void PhoneServer::disconnect(PhoneId) {}

std::vector<InterfaceAddress> machineAddresses() {
    return {};
}

std::vector<std::string> defaultRouteInterfaces() {
    return {};
}

std::vector<std::vector<bool>> qrModules(const std::string&) {
    return {};
}

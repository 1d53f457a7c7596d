#include "phones/NetworkAddress.hpp"
#include "phones/PhoneProtocol.hpp"
#include "phones/PhoneServer.hpp"
#include "phones/PlayerName.hpp"

#include <gtest/gtest.h>

#include <boost/asio.hpp>
#include <nlohmann/json.hpp>

#include <chrono>
#include <new>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {
const std::string secret(32, 'a');

// What a message gives: its request as "ask seat name secret", or the error's code.
std::string read(const std::string& message) {
    const ReadMessage read = readPhoneMessage(message, std::locale::classic());
    if (!read.request) {
        const auto reply = nlohmann::json::parse(read.errorReply);
        EXPECT_EQ(reply.at("type"), "error");
        EXPECT_FALSE(reply.at("message").get<std::string>().empty());
        return "error " + reply.at("code").get<std::string>();
    }
    const PhoneRequest& request = *read.request;
    return std::to_string(static_cast<int>(request.ask)) + " " + std::to_string(request.seat) +
           " " + request.name + " " + request.secret;
}
} // namespace

TEST(PhoneMessages, OnlyKnownTypesWithTheirOwnFieldsAreRequests) {
    const struct {
        std::string message, read;
    } cases[] = {
        {R"({"type":"join","name":"Jörg"})", "0 -1 Jörg "},
        {R"({"type":"join","name":"Jean–Luc…"})", "0 -1 Jean–Luc… "},
        {R"({"type":"join","name":"Übel"})", "0 -1 Übel "},
        {R"({"type":"take","seat":8})", "1 8  "},
        {R"({"type":"take","seat":0,"name":"Anna"})", "1 0 Anna "},
        {R"({"type":"resume","seat":3,"secret":")" + secret + R"("})", "2 3  " + secret},
        {"[1,2]", "error json"},
        {"{\"type\":\"join\",\"name\":\"\xc3\"}", "error json"},
        {R"({})", "error type"},
        {R"({"type":"dice","value":6})", "error type"},
        {R"({"type":"roll","value":6})", "error field"},
        {R"({"type":"join"})", "error field"},
        {R"({"type":"join","name":7})", "error field"},
        {R"({"type":"join","name":"a\u0007b"})", "error field"},
        {R"({"type":"join","name":"a\u202eb"})", "error field"},
        {R"({"type":"join","name":"a\u2066b"})", "error field"},
        {R"({"type":"join","name":"a\u2069b"})", "error field"},
        {R"({"type":"join","name":"a\u061cb"})", "error field"},
        {R"({"type":"join","name":"a\u0085b"})", "error field"},
        {R"({"type":"join","name":"\u202eAnna"})", "error field"},
        {R"({"type":"take","seat":9})", "error field"},
        {R"({"type":"take","seat":-1})", "error field"},
        {R"({"type":"take","seat":1.5})", "error field"},
        {R"({"type":"resume","seat":3,"secret":")" + std::string(32, 'A') + R"("})", "error field"},
        {R"({"type":"resume","seat":3,"secret":")" + std::string(31, 'a') + R"("})", "error field"},
        {R"({"type":"join","name":")" + std::string(1100, 'a') + R"("})", "error field"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.message), c.read) << c.message;
}

TEST(PhoneMessages, ANameIsOneToSixteenCharactersTheFontDraws) {
    const auto drawable = [](sf::Uint32 codePoint) { return codePoint < 0x250; };
    const struct {
        std::string given, name, problem;
    } cases[] = {
        {"  Jörg \u00a0", "Jörg", ""},
        {"Mary Ann", "Mary Ann", ""},
        {"  ", "", "A name needs at least one character."},
        {"0123456789abcdefg", "", "A name has at most 16 characters."},
        {"ÄÖÜäöüßÄÖÜäöüßÄÖ", "ÄÖÜäöüßÄÖÜäöüßÄÖ", ""},
        {"Bob🍺🍺😀", "", "The game cannot show 🍺😀."},
    };
    for (const auto& c : cases) {
        const NameCheck checked = checkName(c.given, drawable, std::locale::classic());
        EXPECT_EQ(checked.name, c.name) << c.given;
        EXPECT_EQ(checked.problem, c.problem) << c.given;
    }
}

TEST(PhoneAddresses, TheDefaultRoutesLanAddressesNeverVirtualOnes) {
    const std::vector<InterfaceAddress> machine{
        {"lo", "127.0.0.1", true},        {"docker0", "172.17.0.1", false},
        {"tun0", "10.8.0.2", false},      {"eth0", "169.254.10.20", false},
        {"wlan0", "192.168.1.20", false}, {"eth1", "10.0.0.5", false},
    };
    const struct {
        std::vector<InterfaceAddress> interfaces;
        std::vector<std::string> routes, shown;
    } cases[] = {
        {machine, {"wlan0"}, {"192.168.1.20"}},
        // A VPN that takes the default route is still no way for phones in.
        {machine, {"tun0"}, {"192.168.1.20", "10.0.0.5"}},
        {machine, {}, {"192.168.1.20", "10.0.0.5"}},
        {{machine[0], machine[1], machine[3]}, {"eth0"}, {}},
        {{machine[4], machine[4]}, {}, {"192.168.1.20"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(phoneAddresses(c.interfaces, c.routes), c.shown);

    std::istringstream routes("Iface\tDestination\tGateway\n"
                              "wlan0\t00000000\t0101A8C0\n"
                              "wlan0\t0001A8C0\t00000000\n"
                              "docker0\t000011AC\t00000000\n"
                              "tun0\t00000000\t0100080A\n");
    EXPECT_EQ(defaultRoutesIn(routes), (std::vector<std::string>{"wlan0", "tun0"}));
    // This machine's own: its loopback address is marked so, and only it.
    int loopbacks = 0;
    for (const InterfaceAddress& found : machineAddresses()) {
        loopbacks += found.loopback ? 1 : 0;
        EXPECT_EQ(found.loopback, found.address.rfind("127.", 0) == 0) << found.address;
    }
    EXPECT_GE(loopbacks, 1);
}

TEST(PhoneServer, ATakenPortGivesTheNextOrOneLine) {
    PhoneServer holder;
    PhoneServerSettings settings;
    settings.address = "127.0.0.1";
    settings.key = std::string(32, 'a');
    ASSERT_EQ(holder.start(settings), "");
    const unsigned short taken = holder.port();
    settings.port = taken;

    PhoneServer exact;
    EXPECT_EQ(exact.start(settings), "kraxelbrett: cannot listen on 127.0.0.1:" +
                                         std::to_string(taken) + ": Address already in use\n");
    settings.tryNextPorts = true;
    PhoneServer next;
    EXPECT_EQ(next.start(settings), "");
    EXPECT_GT(next.port(), taken);
    EXPECT_LE(next.port(), taken + 20);
    settings.address = "no.such.address";
    PhoneServer nowhere;
    // The next 20 ports are tried, and the line names them.
    EXPECT_EQ(nowhere.start(settings).rfind(
                  "kraxelbrett: cannot listen on no.such.address:" + std::to_string(taken) +
                      " to " + std::to_string(taken + 20) + ": ",
                  0),
              0u);
}

TEST(PhoneServer, AConnectionThatCannotBeAdmittedIsClosedAndTheNextAnswered) {
    bool failed = false;
    PhoneServerSettings settings;
    settings.address = "127.0.0.1";
    settings.key = secret;
    settings.admitting = [&failed] {
        if (!std::exchange(failed, true))
            throw std::bad_alloc();
    };
    PhoneServer server;
    ASSERT_EQ(server.start(settings), "");
    // The first line of the answer to a request without the key, or nothing.
    const auto answer = [&server] {
        namespace net = boost::asio;
        net::io_context io;
        net::ip::tcp::socket socket(io);
        boost::system::error_code ignored;
        socket.connect({net::ip::make_address("127.0.0.1"), server.port()}, ignored);
        net::write(socket, net::buffer(std::string("GET / HTTP/1.0\r\n\r\n")), ignored);
        std::string read, line;
        net::async_read_until(
            socket, net::dynamic_buffer(read), "\r\n",
            [&](boost::system::error_code, std::size_t length) { line = read.substr(0, length); });
        io.run_for(std::chrono::seconds(10));
        return line;
    };
    EXPECT_EQ(answer(), "");
    EXPECT_EQ(answer(), "HTTP/1.0 421 Misdirected Request\r\n");
}

#include "phones/PhoneAccess.hpp"

#include <gtest/gtest.h>

#include <map>

const PhoneAccessRules rules{"0123456789abcdef0123456789abcdef",
                             {"127.0.0.5:8112", "kraxelbrett.local:8112"},
                             {"", "app.js", "app.css"}};
const std::string key = "/0123456789abcdef0123456789abcdef";
const std::string upperKey = "/0123456789ABCDEF0123456789ABCDEF";
const std::string home = "127.0.0.5:8112";

TEST(PhoneAccessTest, HostThenKeyThenPath) {
    const struct {
        std::string method, target, host, origin;
        bool upgrade;
        PhoneRoute route;
        std::string file;
    } cases[] = {
        {"GET", upperKey + "/app.js?v=2", "KRAXELBRETT.local:8112", "", false, PhoneRoute::file,
         "app.js"},
        {"GET", key, home, "", false, PhoneRoute::redirect, ""},
        {"GET", "/", "127.0.0.5:8113", "", false, PhoneRoute::misdirected, ""},
        {"GET", key + "/", "", "", false, PhoneRoute::misdirected, ""},
        {"GET", key + "0/", home, "", false, PhoneRoute::forbidden, ""},
        {"GET", "http://127.0.0.5:8112" + key + "/", home, "", false, PhoneRoute::forbidden, ""},
        {"POST", "/", home, "", false, PhoneRoute::forbidden, ""},
        {"GET", key + "/../app.js", home, "", false, PhoneRoute::notFound, ""},
        {"GET", key + "/ws", home, "http://127.0.0.5:8112", false, PhoneRoute::upgradeRequired, ""},
        {"GET", key + "/ws", home, "https://127.0.0.5:8112", true, PhoneRoute::forbidden, ""},
        {"GET", key + "/ws", home, "http://kraxelbrett.local:8112", true, PhoneRoute::forbidden,
         ""},
    };
    for (const auto& c : cases) {
        const PhoneAccess access =
            checkPhoneAccess({c.method, c.target, c.host, c.origin, c.upgrade}, rules);
        EXPECT_EQ(access.route, c.route) << c.method << " " << c.target << " " << c.host;
        EXPECT_EQ(access.file, c.file) << c.target;
    }
}

TEST(PhoneAccessTest, ConnectionsAndMessagesWithinLimits) {
    // Up to 3 from an address, 5 in all; then a newcomer takes the place of the oldest that has
    // shown no key, else of the oldest idle one, and where every one is held it is told so.
    using S = PhoneAdmission::Standing;
    PhoneAdmission admission(5, 3);
    const struct {
        std::string address; // or "#N standing" or "-N", a release
        int connection = 0, makesRoom = 0;
        bool full = false;
    } steps[] = {
        {"a", 1, 0, false},
        {"a", 2, 0, false},
        {"a", 3, 0, false},
        {"a", 0, 0, false},
        {"b", 4, 0, false},
        {"#1 held"},
        {"#3 idle"},
        {"#4 idle"},
        {"c", 5, 0, false},
        {"d", 6, 2, false},
        {"-2"},
        {"d", 7, 5, false},
        {"#6 held"},
        {"#7 held"},
        {"e", 8, 3, false},
        {"-3"},
        {"#8 held"},
        {"a", 9, 4, false},
        {"#9 held"},
        {"b", 0, 0, true},
        {"-7"},
        {"b", 10, 0, false},
        {"d", 11, 10, false},
        {"#11 held"},
        {"e", 0, 0, true},
    };
    const std::map<std::string, S> standings{{"held", S::held}, {"idle", S::idle}};
    for (const auto& step : steps) {
        if (step.address[0] == '#') {
            admission.stand(std::stoul(step.address.substr(1)),
                            standings.at(step.address.substr(step.address.find(' ') + 1)));
        } else if (step.address[0] == '-') {
            admission.release(std::stoul(step.address.substr(1)));
        } else {
            const PhoneAdmission::Admit admit = admission.admit(step.address);
            EXPECT_EQ(admit.connection, static_cast<PhoneAdmission::Connection>(step.connection))
                << step.address;
            EXPECT_EQ(admit.makesRoom, static_cast<PhoneAdmission::Connection>(step.makesRoom))
                << step.address << " " << step.connection;
            EXPECT_EQ(admit.full, step.full) << step.address;
        }
    }

    PhoneRate rate(20);
    using Verdict = PhoneRate::Verdict;
    const struct {
        int atMilliseconds, messages;
        Verdict verdict;
    } bursts[] = {{0, 20, Verdict::pass},   {0, 1, Verdict::warn},    {0, 5, Verdict::drop},
                  {500, 10, Verdict::pass}, {500, 1, Verdict::drop},  {1000, 10, Verdict::pass},
                  {1000, 1, Verdict::warn}, {5000, 20, Verdict::pass}};
    for (const auto& b : bursts)
        for (int i = 0; i < b.messages; ++i)
            EXPECT_EQ(rate.check(std::chrono::steady_clock::time_point() +
                                 std::chrono::milliseconds(b.atMilliseconds)),
                      b.verdict)
                << b.atMilliseconds << " ms, message " << i;
}

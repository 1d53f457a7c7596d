#include "phones/PhoneAccess.hpp"

#include <gtest/gtest.h>

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
    // Three from a, then the fourth refused; b and c fill the total; a release lets one in.
    PhoneAdmission admission(5, 3);
    const struct {
        std::string address;
        int release;
        bool admitted;
    } admits[] = {{"a", 0, true},  {"a", 0, true}, {"a", 0, true},  {"a", 0, false},
                  {"b", 0, true},  {"c", 0, true}, {"d", 0, false}, {"b", 1, true},
                  {"d", 0, false}, {"a", 1, true}, {"a", 0, false}};
    for (const auto& a : admits) {
        for (int i = 0; i < a.release; ++i)
            admission.release(a.address);
        EXPECT_EQ(admission.admit(a.address), a.admitted) << a.address;
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

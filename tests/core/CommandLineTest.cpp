#include "core/CommandLine.hpp"

#include <gtest/gtest.h>

// Only the bare command starts the game; --help and --version answer on standard output,
// and anything else is a usage error on standard error with exit code 2.
TEST(CommandLine, AnswersEachArgumentList) {
    const std::string usage = "Usage: kraxelbrett [--help | --version]\n";
    const std::string version = std::string("kraxelbrett ") + KRAXELBRETT_VERSION + "\n";
    struct Case {
        std::vector<std::string> arguments;
        bool play;
        int exitCode;
        std::string out; // empty: whatever the help says
        std::string err;
    };
    const std::vector<Case> cases = {
        {{}, true, 0, "", ""},
        {{"--version"}, false, 0, version, ""},
        {{"--help"}, false, 0, "", ""},
        {{"-h"}, false, 2, "", usage},
        {{"--Version"}, false, 2, "", usage},
        {{""}, false, 2, "", usage},
        {{"--version", "--help"}, false, 2, "", usage},
        {{"--help", "extra"}, false, 2, "", usage},
        {{"start"}, false, 2, "", usage},
    };
    for (const Case& c : cases) {
        const std::string label = c.arguments.empty() ? "(none)" : c.arguments[0];
        const CommandLineAnswer answer = answerCommandLine(c.arguments);
        EXPECT_EQ(answer.play, c.play) << label;
        EXPECT_EQ(answer.exitCode, c.exitCode) << label;
        EXPECT_EQ(answer.err, c.err) << label;
        if (c.arguments == std::vector<std::string>{"--help"}) {
            // How to start it, and every key.
            for (const char* part :
                 {"Usage: kraxelbrett", "numpad +", "numpad -", "W ", "Escape"}) {
                EXPECT_NE(answer.out.find(part), std::string::npos) << part;
            }
        } else {
            EXPECT_EQ(answer.out, c.out) << label;
        }
    }
}

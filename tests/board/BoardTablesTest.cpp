#include "board/BoardTables.hpp"
#include "board/TextEncoding.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace {
std::u32string codePoints(const std::string& bytes) {
    const auto utf32 = toDisplayString(bytes).toUtf32();
    return {utf32.begin(), utf32.end()};
}
} // namespace

TEST(FieldTexts, DecodeEveryByteAsTheCodePointOfTheSameValue) {
    const auto texts = initializeFieldTexts();
    const struct {
        int field;
        std::u32string shown;
    } cases[] = {
        {0, U"START"},
        {1, U"2 Schlücke"},
        {26, U"Männer müssen\ntrinken"},
        {28, U"Mischshot\trinken"},
        {39, U"Der nüchternste\nverteilt 5 Schlücke"},
        {64, U"Armdrücken mit\nlinks, Verlierer\n1 Shot"},
        {69, U"Wahrheit\n   oder\n Pflicht"},
        {95, U"  5 Schlücke    oder\n5 Liegestützen"},
        {99, U"Erzähl etwas,\nwas keiner\nüber dich weiß"},
        {109, U"     Gehe\n2 Schritte vor"},
        {112, U"ZIEL"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(codePoints(texts[c.field].text), c.shown) << "field " << c.field;
    }
    EXPECT_EQ(codePoints("\xE4\xF6\xFC\xDF\xFF"), U"äöüßÿ");
}

TEST(FieldTexts, KeepTheirRepertoireAndShape) {
    // Counted over the whole table, so that a slip anywhere in the transcription shows.
    const auto texts = initializeFieldTexts();
    int lineFeeds = 0;
    int tabs = 0;
    std::size_t longestLine = 0;
    std::map<std::string, int> repeats;
    for (int field = 0; field < fieldCount; ++field) {
        const std::string& text = texts[field].text;
        ASSERT_FALSE(text.empty()) << "field " << field;
        lineFeeds += static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        tabs += static_cast<int>(std::count(text.begin(), text.end(), '\t'));
        for (const char byte : text) {
            const auto value = static_cast<unsigned char>(byte);
            const bool allowed = (value >= 0x20 && value < 0x7F) || byte == '\n' || byte == '\t' ||
                                 value == 0xE4 || value == 0xF6 || value == 0xFC || value == 0xDF;
            EXPECT_TRUE(allowed) << "field " << field << " byte " << int(value);
        }
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            longestLine = std::max(longestLine, line.size());
        }
        ++repeats[text];
    }
    EXPECT_EQ(lineFeeds, 128);
    EXPECT_EQ(tabs, 1);
    EXPECT_EQ(longestLine, 22u);
    EXPECT_EQ(std::count(texts[110].text.begin(), texts[110].text.end(), '\n'), 5);
    EXPECT_EQ(repeats["Safe Zone"], 3);
    EXPECT_EQ(repeats["Regel"], 3);
    EXPECT_EQ(repeats["EX"], 3);
    EXPECT_EQ(repeats["-1 Kleidungsst\xFC"
                      "ck"],
              4);
    EXPECT_EQ(texts[waitingField].text, "2 Runden\naussetzen!");
}

TEST(FieldTexts, LabelSizesAreLargeForStartAndGoal) {
    const auto texts = initializeFieldTexts();
    EXPECT_EQ(texts[0].characterSize, 30u);
    EXPECT_EQ(texts[112].characterSize, 60u);
    for (int field = 1; field < goalField; ++field) {
        EXPECT_EQ(texts[field].characterSize, 12u) << "field " << field;
    }
}

TEST(Jumps, AgreeWithTheFieldNumbersTheirTextsName) {
    const auto texts = initializeFieldTexts();
    std::map<int, int> targets;
    for (const Jump& jump : initializeJumps()) {
        EXPECT_TRUE(targets.emplace(jump.field, jump.target).second) << "twice: " << jump.field;
        EXPECT_NE(jump.field, jump.target);
        EXPECT_NE(jump.field, startField);
        EXPECT_NE(jump.field, goalField);
    }
    const std::map<int, int> expected = {
        {10, 13}, {11, 48}, {13, 37}, {14, 11}, {19, 0},    {37, 13},   {48, 11},
        {68, 93}, {75, 98}, {93, 68}, {98, 75}, {106, 105}, {109, 111},
    };
    EXPECT_EQ(targets, expected);

    for (const auto& [field, target] : targets) {
        const std::string& text = texts[field].text;
        const auto named = text.find("Feld ");
        if (named != std::string::npos) {
            EXPECT_EQ(std::stoi(text.substr(named + 5)), target) << "field " << field;
        }
    }
}

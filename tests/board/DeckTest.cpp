#include "board/Deck.hpp"
#include "board/BoardTables.hpp"
#include "board/DeckLibrary.hpp"
#include "board/TextMeasure.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
namespace fs = std::filesystem;

/// A folder of deck files for one test, gone afterwards; decks find their bases in it.
struct DeckFolder : TemporaryFolder {
    DeckFolder() : TemporaryFolder("kraxelbrett-decks-") {}

    std::string write(const std::string& name, const std::string& text) const {
        const fs::path file = path / (name + ".toml");
        std::ofstream(file, std::ios::binary) << text;
        return file.string();
    }

    /// The deck's problems and notes, one line each, with the folder left out of the paths.
    std::string problems(const std::string& file, FieldTexts* texts = nullptr) const {
        std::vector<DeckProblem> found;
        const DeckFinder find = [this](const std::string& name) {
            return findDeck(name, {path.string(), "decks"});
        };
        const FieldTexts loaded = loadDeck(file, find, measure, found, std::locale::classic());
        if (texts != nullptr)
            *texts = loaded;
        std::string lines;
        for (const DeckProblem& problem : found)
            lines += (problem.note ? "note: " : "") + describe(problem, std::locale::classic());
        for (std::size_t at; (at = lines.find(path.string() + "/")) != std::string::npos;)
            lines.erase(at, path.string().size() + 1);
        return lines;
    }

    TextMeasure measure{"assets/SmallMemory.ttf"};
};

std::string allFields(const std::string& text) {
    std::string fields;
    for (int field = 0; field < fieldCount; ++field)
        fields += std::to_string(field) + " = \"" + text + "\"\n";
    return fields;
}

const std::string head = "title = \"Ours\"\nlanguage = \"en\"\n";
} // namespace

// Every way a deck can be wrong gets its own line, naming the file, the line where one is
// known, and the field; a good deck gets none.
TEST(Deck, EachProblemIsOneLineNamingFileLineAndField) {
    const DeckFolder folder;
    folder.write("loop-a", head + "base = \"loop-b\"\n");
    folder.write("loop-b", head + "base = \"loop-a\"\n");
    const struct {
        std::string deck;
        std::string said;
    } cases[] = {
        {"\xEF\xBB\xBF" + head + "base = \"english\"\n[fields]\n5 = \"\"\"\nSing\nloud\"\"\"\n",
         ""},
        {head + "base = \"english\"\n[fields]\n5 = \"Sing\xFF\"\n",
         "deck.toml:5: not UTF-8 text (Encountered invalid utf-8 sequence); save the deck as "
         "UTF-8\n"},
        {head + "base = \"english\"\n[\n1 = \"x\"\n",
         "deck.toml:4: Error while parsing key: expected bare key starting character or string "
         "delimiter, saw '\\n'\n"},
        {head + "colour = \"red\"\nbase = \"english\"\n",
         "deck.toml:3: unknown key \"colour\"; a deck has only title, language, base and "
         "[fields]\n"},
        {head + "base = \"english\"\n[fields]\n113 = \"x\"\n07 = \"z\"\nx = \"y\"\n",
         "deck.toml:6: field \"07\": not a field number; fields are numbered 0 to 112\n"
         "deck.toml:5: field \"113\": not a field number; fields are numbered 0 to 112\n"
         "deck.toml:7: field \"x\": not a field number; fields are numbered 0 to 112\n"},
        {head + "[fields]\n" + allFields("x").substr(8),
         "deck.toml: field 0: missing; a deck without base gives all 113 fields\n"},
        {head, "deck.toml: no fields; a deck without base gives all 113, from 0 to 112\n"},
        {head + "base = \"nowhere\"\n", "deck.toml:3: base \"nowhere\": no deck of that name\n"},
        {head + "base = \"loop-a\"\n",
         "loop-b.toml:3: base \"loop-a\" leads back to loop-a.toml: the bases go round in a "
         "circle\n"},
        {head + "base = \"english\"\n[fields]\n1 = \"\"\n5 = 3\n",
         "deck.toml:5: field 1: the text is empty; every field shows a task\n"
         "deck.toml:6: field 5: the text is not a string; write it in double quotes\n"},
        {head + "base = \"english\"\n[fields]\n5 = \"A rather long line of words\"\n",
         "note: deck.toml:5: field 5: the label is drawn at 11 px instead of 12 px to fit\n"},
        {head + "base = \"english\"\n[fields]\n5 = \"" + std::string(60, 'W') + "\"\n",
         "deck.toml:5: field 5: the label does not fit on its square even at 9 px; shorten its "
         "lines or break them\n"},
        {head + "base = \"english\"\n[fields]\n5 = \"Smile \xF0\x9F\x98\x80\"\n",
         "deck.toml:5: field 5: U+1F600 is not in the game's font\n"},
        {"title = \"Ours\"\nlanguage = \"en_GB\"\nbase = \"english\"\n",
         "deck.toml:2: language \"en_GB\" is no language tag such as \"en\" or \"de-AT\"\n"},
        {"base = \"english\"\n",
         "deck.toml: no title; a deck names itself with title = \"...\"\n"
         "deck.toml: no language; a deck says its language with language = \"en\" or so\n"},
        {head + "base = \"english\"\n#" + std::string(deckFileLimit, 'x') + "\n",
         "deck.toml: the file has 1048626 bytes; a deck is a few kilobytes, at most 1 MiB\n"},
    };
    for (const auto& c : cases) {
        const std::string file = folder.write("deck", c.deck);
        EXPECT_EQ(folder.problems(file), c.said) << c.deck.substr(0, 200);
    }
    // Which files are read at all, the assets' test says; a deck names itself in the reason.
    fs::create_directories(folder.path / "folder.toml");
    EXPECT_EQ(folder.problems((folder.path / "folder.toml").string()),
              "folder.toml: a folder, not a deck file\n");
}

// A deck starts from its base's fields and changes only those it gives; its labels keep the
// table's sizes where they fit, and shrink where they do not. The German deck is the board's own
// table, character for character.
TEST(Deck, ADeckGivesItsFieldsOverThoseOfItsBase) {
    const DeckFolder folder;
    folder.write("middle", head + "base = \"english\"\n[fields]\n6 = \"Middle\"\n7 = \"Middle\"\n");
    const std::string deck =
        folder.write("deck", head + "base = \"middle\"\n[fields]\n7 = \"Ours\\nand more\"\n"
                                    "9 = \"A rather long line of words\"\n112 = \"ZIEL\"\n");
    FieldTexts texts, english, deutsch;
    folder.problems(deck, &texts);
    folder.problems("decks/english.toml", &english);
    EXPECT_EQ(folder.problems("decks/deutsch.toml", &deutsch), "");
    const struct {
        std::string text;
        int field;
        unsigned int size;
    } cases[] = {{english[5].text, 5, 12},  {"Middle", 6, 12},
                 {"Ours\nand more", 7, 12}, {"A rather long line of words", 9, 11},
                 {"START", 0, 30},          {"ZIEL", 112, 60}};
    for (const auto& c : cases) {
        EXPECT_EQ(texts[c.field].text, c.text) << "field " << c.field;
        EXPECT_EQ(texts[c.field].characterSize, c.size) << "field " << c.field;
    }
    const FieldTexts board = initializeFieldTexts();
    for (int field = 0; field < fieldCount; ++field) {
        EXPECT_EQ(deutsch[field].text, board[field].text) << "field " << field;
        EXPECT_EQ(deutsch[field].characterSize, board[field].characterSize) << "field " << field;
    }
}

// --list-decks lines up its columns by characters, not bytes, and a name or title that fills its
// column still leaves a space before the next.
TEST(Deck, ListedDecksKeepTheirColumns) {
    const struct {
        ListedDeck deck;
        std::string line;
    } cases[] = {
        {{"familie", "de", "Für die Familie", "decks/familie.toml"},
         "familie         de      Für die Familie     decks/familie.toml\n"},
        {{"sechzehnzeichen!", "", "Zwanzig Zeichen lang", "a.toml", true, true},
         "sechzehnzeichen! ?       Zwanzig Zeichen lang a.toml (the user's, in place of the game's "
         "own) (has problems: kraxelbrett --check sechzehnzeichen!)\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listLine(c.deck), c.line);
}

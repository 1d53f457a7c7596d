#include "board/Deck.hpp"

#include "board/BoardGeometry.hpp"
#include "board/BoardTables.hpp"
#include "board/RegularFile.hpp"
#include "board/TextEncoding.hpp"
#include "board/TextMeasure.hpp"
#include "language/Phrase.hpp"

// toml++ asserts, where NDEBUG is not set, on some malformed decks (a "[" at the end of a
// line) that its parser then reports as the errors they are. A deck is user input: its errors
// are messages, never an abort. (Where NDEBUG is set, GCC ignores the assumption alike.)
#define TOML_ASSERT(expr) static_assert(true)
#include <toml++/toml.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

namespace {
namespace fs = std::filesystem;

using boost::locale::translate;

struct Reader {
    const std::string& path;
    std::vector<DeckProblem>& problems;
    const std::locale& words;

    template <typename... Values>
    void add(int line, int field, const boost::locale::message& what,
             const Values&... values) const {
        problems.push_back({path, line, field, phrase(words, what, values...)});
    }

    /// Another's words, as they are: the system's or toml++'s.
    void addAsIs(int line, int field, std::string what) const {
        problems.push_back({path, line, field, std::move(what)});
    }
};

int lineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

// The file's bytes, or empty with a problem: only a regular file, and not a large one, is
// read at all.
std::optional<std::string> readFile(const Reader& reader) {
    const std::string why = whyNotARegularFile(
        reader.path, translate("a folder, not a deck file").str(reader.words), reader.words);
    if (!why.empty()) {
        reader.addAsIs(0, -1, why);
        return std::nullopt;
    }
    std::error_code error;
    const std::uintmax_t size = fs::file_size(reader.path, error);
    if (!error && size > deckFileLimit) {
        reader.add(0, -1,
                   translate("the file has {1} bytes; a deck is a few kilobytes, at most 1 MiB"),
                   size);
        return std::nullopt;
    }
    std::ifstream file(reader.path, std::ios::binary);
    if (!file.is_open()) {
        reader.add(0, -1, translate("cannot be opened; is it readable?"));
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        reader.add(0, -1, translate("cannot be read"));
        return std::nullopt;
    }
    return bytes;
}

// A field number as a deck writes it: 0 to 112 in plain decimal.
int fieldNumber(const std::string& key) {
    const auto digit = [](char character) { return character >= '0' && character <= '9'; };
    if (key.empty() || key.size() > 3 || !std::all_of(key.begin(), key.end(), digit) ||
        (key.size() > 1 && key[0] == '0')) {
        return -1;
    }
    const int number = std::stoi(key);
    return number < fieldCount ? number : -1;
}

bool isLanguageTag(const std::string& tag) {
    static const std::regex bcp47("[A-Za-z]{2,3}(-[A-Za-z0-9]{1,8})*");
    return std::regex_match(tag, bcp47);
}

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

void readFields(const toml::table& fields, const Reader& reader, DeckFile& deck) {
    for (const auto& [key, value] : fields) {
        const int line = lineOf(value);
        const int field = fieldNumber(std::string(key.str()));
        if (field < 0) {
            reader.add(line, -1,
                       translate("field {1}: not a field number; fields are numbered 0 to 112"),
                       inQuotes(std::string(key.str())));
            continue;
        }
        const std::optional<std::string> text = value.value<std::string>();
        if (!value.is_string() || !text) {
            reader.add(line, field,
                       translate("the text is not a string; write it in double quotes"));
        } else if (text->empty()) {
            reader.add(line, field, translate("the text is empty; every field shows a task"));
        } else {
            deck.texts[field] = *text;
            deck.lines[field] = line;
        }
    }
}

void readStringKey(const toml::node& value, const Reader& reader, const std::string& key,
                   std::string& into) {
    if (!value.is_string() || value.value<std::string>()->empty()) {
        reader.add(lineOf(value), -1, translate("{1} is not a text; write it in double quotes"),
                   key);
        return;
    }
    into = *value.value<std::string>();
}
} // namespace

std::string describe(const DeckProblem& problem, const std::locale& words) {
    std::string line = problem.file;
    if (problem.line > 0) {
        line += ":" + std::to_string(problem.line);
    }
    line += ": ";
    if (problem.field >= 0) {
        line += phrase(words, translate("field {1}: "), problem.field);
    }
    return line + problem.what + "\n";
}

DeckFile readDeckFile(const std::string& path, std::vector<DeckProblem>& problems,
                      const std::locale& words) {
    DeckFile deck;
    deck.path = path;
    const Reader reader{path, problems, words};
    const std::optional<std::string> bytes = readFile(reader);
    if (!bytes) {
        return deck;
    }

    toml::parse_result parsed = toml::parse(std::string_view(*bytes), std::string_view(path));
    if (!parsed) {
        const toml::parse_error& error = parsed.error();
        // toml++'s own words, in the frame of ours.
        const std::string what(error.description());
        const int line = static_cast<int>(error.source().begin.line);
        if (what.find("utf-8") != std::string::npos || what.find("UTF-8") != std::string::npos) {
            reader.add(line, -1, translate("not UTF-8 text ({1}); save the deck as UTF-8"), what);
        } else {
            reader.addAsIs(line, -1, what);
        }
        return deck;
    }

    deck.parsed = true;
    const toml::table& table = parsed.table();
    for (const auto& [key, value] : table) {
        const std::string name(key.str());
        if (name == "title") {
            readStringKey(value, reader, name, deck.title);
        } else if (name == "language") {
            readStringKey(value, reader, name, deck.language);
            if (!deck.language.empty() && !isLanguageTag(deck.language)) {
                reader.add(lineOf(value), -1,
                           translate(R"(language {1} is no language tag such as "en" or "de-AT")"),
                           inQuotes(deck.language));
            }
        } else if (name == "base") {
            readStringKey(value, reader, name, deck.base);
            deck.baseLine = lineOf(value);
        } else if (name == "fields" && value.is_table()) {
            readFields(*value.as_table(), reader, deck);
        } else if (name == "fields") {
            reader.add(lineOf(value), -1, translate("fields is not a table; write it as [fields]"));
        } else {
            reader.add(lineOf(value), -1,
                       translate("unknown key {1}; a deck has only title, language, base and "
                                 "[fields]"),
                       inQuotes(name));
        }
    }
    if (!table.contains("title")) {
        reader.add(0, -1, translate("no title; a deck names itself with title = \"...\""));
    }
    if (!table.contains("language")) {
        reader.add(0, -1,
                   translate("no language; a deck says its language with language = \"en\" or so"));
    }
    return deck;
}

unsigned int fittingLabelSize(const std::string& label, unsigned int tableSize, float side,
                              const TextMeasure& measure) {
    // A label starts at its square's corner and may reach its right and bottom edges, as the
    // board's own labels do: the longest of them ends on the right edge.
    const sf::String shown = toDisplayString(label);
    for (unsigned int size = tableSize; size >= smallestLabelSize; --size) {
        const sf::FloatRect bounds = measure.bounds(shown, size);
        if (bounds.left + bounds.width <= side && bounds.top + bounds.height <= side) {
            return size;
        }
    }
    return 0;
}

namespace {
// The deck and its bases, the deck first.
std::vector<DeckFile> readChain(const std::string& path, const DeckFinder& find,
                                std::vector<DeckProblem>& problems, const std::locale& words) {
    std::vector<DeckFile> chain{readDeckFile(path, problems, words)};
    std::set<std::string> seen{fs::weakly_canonical(path).string()};
    while (!chain.back().base.empty()) {
        const DeckFile& deck = chain.back();
        const std::string basePath = find(deck.base);
        if (basePath.empty()) {
            problems.push_back(
                {deck.path, deck.baseLine, -1,
                 phrase(words, translate("base {1}: no deck of that name"), inQuotes(deck.base))});
            break;
        }
        if (!seen.insert(fs::weakly_canonical(basePath).string()).second) {
            problems.push_back(
                {deck.path, deck.baseLine, -1,
                 phrase(words,
                        translate("base {1} leads back to {2}: the bases go round in a circle"),
                        inQuotes(deck.base), basePath)});
            break;
        }
        chain.push_back(readDeckFile(basePath, problems, words));
    }
    return chain;
}

void checkGlyphs(const std::string& label, const DeckFile& giver, int field,
                 const TextMeasure& measure, std::vector<DeckProblem>& problems,
                 const std::locale& words) {
    for (const sf::Uint32 character : toDisplayString(label)) {
        if (character != '\n' && character != '\t' && !measure.hasGlyph(character)) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned int>(character));
            problems.push_back(
                {giver.path, giver.lines[field], field,
                 phrase(words, translate("{1} is not in the game's font"), std::string(code))});
        }
    }
}

// Shrinks the label's size to fit its square, with a note, or tells that it cannot fit.
void fitLabel(const std::string& label, const DeckFile& giver, int field, FieldText& text,
              const TextMeasure& measure, std::vector<DeckProblem>& problems,
              const std::locale& words) {
    const unsigned int size =
        fittingLabelSize(label, text.characterSize, fieldSide(field), measure);
    if (size == 0) {
        problems.push_back({giver.path, giver.lines[field], field,
                            phrase(words,
                                   translate("the label does not fit on its square even at {1} "
                                             "px; shorten its lines or break them"),
                                   smallestLabelSize)});
    } else if (size != text.characterSize) {
        problems.push_back(
            {giver.path, giver.lines[field], field,
             phrase(words, translate("the label is drawn at {1} px instead of {2} px to fit"), size,
                    text.characterSize),
             true});
        text.characterSize = size;
    }
}
} // namespace

FieldTexts loadDeck(const std::string& path, const DeckFinder& find, const TextMeasure& measure,
                    std::vector<DeckProblem>& problems, const std::locale& words,
                    std::string* language) {
    const std::vector<DeckFile> chain = readChain(path, find, problems, words);
    if (language != nullptr && !chain.empty()) {
        *language = chain.front().language;
    }

    // Each field from the first deck in the chain that gives it; the last must give all.
    FieldTexts texts = initializeFieldTexts();
    if (!std::all_of(chain.begin(), chain.end(),
                     [](const DeckFile& deck) { return deck.parsed; })) {
        return texts;
    }
    const DeckFile& last = chain.back();
    if (last.base.empty() &&
        std::all_of(last.lines.begin(), last.lines.end(), [](int line) { return line == 0; })) {
        problems.push_back(
            {last.path, 0, -1,
             translate("no fields; a deck without base gives all 113, from 0 to 112").str(words)});
        return texts;
    }
    for (int field = 0; field < fieldCount; ++field) {
        const auto giver = std::find_if(chain.begin(), chain.end(), [field](const DeckFile& deck) {
            return deck.lines[field] != 0;
        });
        if (giver == chain.end()) {
            if (last.base.empty()) {
                problems.push_back(
                    {last.path, 0, field,
                     translate("missing; a deck without base gives all 113 fields").str(words)});
            }
            continue;
        }
        texts[field].text = giver->texts[field];
        if (!measure.loaded()) {
            continue;
        }

        const std::string label = fieldLabel(field, giver->texts[field]);
        checkGlyphs(label, *giver, field, measure, problems, words);
        fitLabel(label, *giver, field, texts[field], measure, problems, words);
    }
    return texts;
}

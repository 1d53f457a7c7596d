#include "save/SavedGame.hpp"

#include "board/BoardGeometry.hpp"
#include "board/DeckLibrary.hpp"
#include "board/RegularFile.hpp"
#include "language/Phrase.hpp"
#include "phones/PlayerName.hpp"
#include "players/Standing.hpp"

#include <SFML/System/String.hpp>

// As in Deck.cpp: a state file is user input too, and its errors are messages, never an abort.
// (Every file that includes toml++ defines it alike, so that its inline functions agree.)
#define TOML_ASSERT(expr) static_assert(true)
#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {
namespace fs = std::filesystem;

using boost::locale::translate;

/// The number after `kraxelbrett =`: raised when an older game could misread the file.
constexpr std::int64_t formatVersion = 1;
/// A game of nine players with their secrets is under 2 KiB; anything much larger is no save.
constexpr std::size_t savedGameLimit = std::size_t{64} * 1024;
constexpr std::size_t hexKeyDigits = 32;

int lineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

/// The text as a TOML string, escaped by toml++ itself, so that whatever a phone named its
/// player reads back the same; UTF-8 stays as it is, readable.
std::string tomlString(std::string_view text) {
    std::ostringstream out;
    out << toml::toml_formatter(toml::value<std::string>(std::string(text)),
                                toml::format_flags::allow_unicode_strings);
    return out.str();
}

std::string typeName(const toml::node& node, const std::locale& words) {
    switch (node.type()) {
    // TRANSLATORS: this and the next six are the types of a TOML value, as in "{1} is {2},
    // not an integer" and in "finish-order holds {1}; ...": one form has to fit both.
    case toml::node_type::table: return translate("a table").str(words);
    case toml::node_type::array: return translate("an array").str(words);
    case toml::node_type::string: return translate("a string").str(words);
    case toml::node_type::integer: return translate("an integer").str(words);
    case toml::node_type::floating_point: return translate("a floating-point number").str(words);
    case toml::node_type::boolean: return translate("true or false").str(words);
    default: return translate("a date or time").str(words);
    }
}

std::string codePointName(char32_t point) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned int>(point));
    return name;
}

/// The text's code points: toml++ has checked that its strings are UTF-8.
std::u32string codePoints(std::string_view text) {
    const sf::String decoded = sf::String::fromUtf8(text.begin(), text.end());
    return {decoded.begin(), decoded.end()};
}

/// The first C0 or C1 control character (DEL among them), which would break a row or a
/// line of the game's output; 0 for none.
char32_t firstControl(const std::u32string& points) {
    const auto found = std::find_if(points.begin(), points.end(), [](char32_t point) {
        return point < 0x20 || (point >= 0x7F && point <= 0x9F);
    });
    return found == points.end() ? 0 : *found;
}

bool isHexKey(const std::string& text) {
    return text.size() == hexKeyDigits && std::all_of(text.begin(), text.end(), [](char digit) {
               return (digit >= '0' && digit <= '9') || (digit >= 'a' && digit <= 'f');
           });
}

/// Checks a state file's table; only the first problem is kept, since the caller shows one
/// line and gives up.
struct Checker {
    const std::string& path;
    /// The file's own table, whose line says nothing about a key missing from it.
    const toml::table& root;
    const std::locale& words;
    std::string problem;

    bool missing(const toml::table& table, const char* key) {
        return &table == &root
                   ? fail(&table,
                          translate("{1} is missing; a saved game says turn, marker and "
                                    "finish-order"),
                          key)
                   : fail(&table,
                          translate("{1} is missing; a [[player]] says field, task, waits "
                                    "and finished"),
                          key);
    }

    template <typename... Values>
    bool fail(const toml::node* at, const boost::locale::message& what, const Values&... values) {
        if (problem.empty()) {
            const int line = at != nullptr && at != &root ? lineOf(*at) : 0;
            problem = path + (line > 0 ? ":" + std::to_string(line) : "") + ": " +
                      phrase(words, what, values...);
        }
        return false;
    }

    /// `unknown` says which keys there are, with {1} for the one found.
    bool noUnknownKeys(const toml::table& table, const std::set<std::string>& known,
                       const boost::locale::message& unknown) {
        for (const auto& [key, value] : table) {
            if (known.count(std::string(key.str())) == 0) {
                return fail(&value, unknown, tomlString(key.str()));
            }
        }
        return true;
    }

    /// Reads the integer under the key into `into`, which keeps its value where the key is
    /// missing and not `required`. `range` says what it may be, with {1} for the key, {2} for
    /// the value and the `values` after them.
    template <typename... Values>
    bool integer(const toml::table& table, const char* key, bool required, std::int64_t low,
                 std::int64_t high, int& into, const boost::locale::message& range,
                 const Values&... values) {
        const toml::node* node = table.get(key);
        if (node == nullptr) {
            return !required || missing(table, key);
        }
        if (!node->is_integer()) {
            return fail(node, translate("{1} is {2}, not an integer"), key, typeName(*node, words));
        }
        const std::int64_t value = node->as_integer()->get();
        if (value < low || value > high) {
            return fail(node, range, key, value, values...);
        }
        into = static_cast<int>(value);
        return true;
    }

    /// Reads the string under the key, if there is one, and checks that it holds no control
    /// character.
    bool string(const toml::table& table, const char* key, std::string& into) {
        const toml::node* node = table.get(key);
        if (node == nullptr) {
            return true;
        }
        if (!node->is_string()) {
            return fail(node, translate("{1} is {2}, not a string"), key, typeName(*node, words));
        }
        into = node->as_string()->get();
        if (const char32_t control = firstControl(codePoints(into)); control != 0) {
            return fail(node,
                        translate("{1} holds the control character {2}; it holds printable "
                                  "text only"),
                        key, codePointName(control));
        }
        return true;
    }

    bool hexKey(const toml::table& table, const char* key, std::string& into) {
        if (!string(table, key, into)) {
            return false;
        }
        return into.empty() || isHexKey(into) ||
               fail(table.get(key),
                    translate("{1} is not {2} lower-case hexadecimal digits; it is what the game "
                              "drew, or left out"),
                    key, hexKeyDigits);
    }

    bool player(const toml::table& table, SavedPlayer& player) {
        const boost::locale::message fields = translate("{1} is {2}; fields are 0 to {3}");
        if (!noUnknownKeys(table, {"field", "task", "waits", "finished", "name", "secret"},
                           translate("not a saved game of Kraxelbrett: unknown key {1}; a "
                                     "[[player]] has only field, task, waits, finished, name "
                                     "and secret")) ||
            !integer(table, "field", true, 0, goalField, player.standing.field, fields,
                     goalField) ||
            !integer(table, "task", true, 0, goalField, player.standing.taskField, fields,
                     goalField) ||
            !integer(table, "waits", true, 0, turnsToWaitOnWaitingField,
                     player.standing.turnsToWait,
                     translate("{1} is {2}; a player waits 0 to {3} turns"),
                     turnsToWaitOnWaitingField)) {
            return false;
        }

        const toml::node* finished = table.get("finished");
        if (finished == nullptr) {
            return missing(table, "finished");
        }
        if (!finished->is_boolean()) {
            return fail(finished, translate("finished is {1}, not true or false"),
                        typeName(*finished, words));
        }
        player.standing.finished = finished->as_boolean()->get();
        if (player.standing.finished && player.standing.field != goalField) {
            return fail(finished,
                        translate("finished is true but field is {1}; a finished player stands "
                                  "on {2}"),
                        player.standing.field, goalField);
        }

        if (!string(table, "name", player.name)) {
            return false;
        }
        const toml::node* name = table.get("name");
        const std::size_t length = codePoints(player.name).size();
        if (name != nullptr && (length == 0 || length > longestName)) {
            return fail(name,
                        translate("name has {1} character; a name has 1 to {2}, or is left out",
                                  "name has {1} characters; a name has 1 to {2}, or is left out",
                                  static_cast<int>(length)),
                        length, longestName);
        }
        return hexKey(table, "secret", player.secret);
    }

    bool players(const toml::table& table, std::vector<SavedPlayer>& into) {
        const toml::node* node = table.get("player");
        if (node == nullptr) {
            return true;
        }
        const toml::array* array = node->as_array();
        if (array == nullptr ||
            !std::all_of(array->begin(), array->end(),
                         [](const toml::node& element) { return element.is_table(); })) {
            return fail(node, translate("player is {1}, not [[player]] tables"),
                        typeName(*node, words));
        }
        for (const toml::node& element : *array) {
            if (into.size() == static_cast<std::size_t>(maxPlayers)) {
                return fail(&element,
                            translate("one player too many; a game has at most {1} players"),
                            maxPlayers);
            }
            into.emplace_back();
            if (!player(*element.as_table(), into.back())) {
                return false;
            }
        }
        return true;
    }

    /// Whether the finish order's entry is the index of a finished player not listed before.
    bool finisher(const toml::node& element, const SavedGame& game) {
        if (!element.is_integer()) {
            return fail(&element,
                        translate("finish-order holds {1}; it holds players' indices, from 0"),
                        typeName(element, words));
        }
        const std::int64_t index = element.as_integer()->get();
        const auto count = static_cast<std::int64_t>(game.players.size());
        if (index < 0 || index >= count) {
            return count == 0
                       ? fail(&element,
                              translate("finish-order holds {1}, which is no player's index; "
                                        "there are no players"),
                              index)
                       : fail(&element,
                              translate("finish-order holds {1}, which is no player's index; "
                                        "they are 0 to {2}"),
                              index, count - 1);
        }
        const int player = static_cast<int>(index);
        if (std::count(game.finishOrder.begin(), game.finishOrder.end(), player) != 0) {
            return fail(&element,
                        translate("finish-order holds {1} twice; it lists each finished player "
                                  "once"),
                        player);
        }
        return game.players[player].standing.finished ||
               fail(&element,
                    translate("finish-order holds {1}, who has not finished; it lists finished "
                              "players only"),
                    player);
    }

    bool finishOrder(const toml::table& table, SavedGame& game) {
        const toml::node* node = table.get("finish-order");
        if (node == nullptr) {
            return missing(table, "finish-order");
        }
        const toml::array* array = node->as_array();
        if (array == nullptr) {
            return fail(node, translate("finish-order is {1}, not an array"),
                        typeName(*node, words));
        }
        for (const toml::node& element : *array) {
            if (!finisher(element, game)) {
                return false;
            }
            game.finishOrder.push_back(static_cast<int>(element.as_integer()->get()));
        }
        for (int player = 0; player < static_cast<int>(game.players.size()); ++player) {
            if (game.players[player].standing.finished &&
                std::count(game.finishOrder.begin(), game.finishOrder.end(), player) == 0) {
                return fail(node,
                            translate("finish-order lacks {1}, who has finished; it lists every "
                                      "finished player"),
                            player);
            }
        }
        return true;
    }

    /// Whether the file says it is a saved game in the format this version writes.
    bool ours(const toml::table& table) {
        const toml::node* version = table.get("kraxelbrett");
        if (version == nullptr) {
            return fail(nullptr,
                        translate("not a saved game of Kraxelbrett: it has no kraxelbrett = {1}"),
                        formatVersion);
        }
        if (version->is_integer() && version->as_integer()->get() == formatVersion) {
            return true;
        }
        const std::string value = version->is_integer()
                                      ? std::to_string(version->as_integer()->get())
                                      : typeName(*version, words);
        return fail(version,
                    // TRANSLATORS: {1} is a number or a type of value, such as "a string".
                    translate("not a saved game of Kraxelbrett: kraxelbrett is {1}, where this "
                              "version writes kraxelbrett = {2}"),
                    value, formatVersion);
    }

    bool game(const toml::table& table, SavedGame& game) {
        if (!ours(table) ||
            !noUnknownKeys(table,
                           {"kraxelbrett", "deck", "turn", "marker", "card", "finish-order",
                            "phone-key", "player"},
                           translate("not a saved game of Kraxelbrett: unknown key {1}; a saved "
                                     "game has only kraxelbrett, deck, turn, marker, card, "
                                     "finish-order, phone-key and [[player]]")) ||
            !string(table, "deck", game.deck) || !players(table, game.players)) {
            return false;
        }

        const int count = static_cast<int>(game.players.size());
        const int last = count - 1;
        const boost::locale::message indices =
            count == 0 ? translate("{1} is {2}; with no players it is 0")
                       : translate("{1} is {2}; with {3} player it is 0 to {4}",
                                   "{1} is {2}; with {3} players it is 0 to {4}", count);
        const boost::locale::message card =
            count == 0 ? translate("{1} is {2}; with no players it is left out")
                       : translate("{1} is {2}; with {3} player it is 0 to {4}, or left out for "
                                   "no card",
                                   "{1} is {2}; with {3} players it is 0 to {4}, or left out "
                                   "for no card",
                                   count);
        return integer(table, "turn", true, 0, std::max(last, 0), game.currentPlayer, indices,
                       count, last) &&
               integer(table, "marker", true, 0, std::max(last, 0), game.markedPlayer, indices,
                       count, last) &&
               integer(table, "card", false, -1, last, game.cardPlayer, card, count, last) &&
               finishOrder(table, game) && hexKey(table, "phone-key", game.phoneKey);
    }
};

std::string reason(int error) {
    return std::generic_category().message(error);
}

// Returns why the folder the file goes into cannot be made, or nothing.
std::string makeFolderFor(const fs::path& target, const std::locale& words) {
    if (!target.has_parent_path()) {
        return {};
    }
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error) {
        return phrase(words, translate("cannot make the folder {1}: {2}"),
                      target.parent_path().string(), error.message());
    }
    return {};
}

#ifdef _WIN32
// Writes the text to a new file beside the path, named in `temporary`. Returns why it cannot,
// in the system's words, or nothing.
std::string writeTemporary(const std::string& path, const std::string& text,
                           std::string& temporary) {
    temporary = path + ".new";
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file.is_open()) {
        return reason(errno);
    }
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.flush();
    file.close();
    if (file.fail()) {
        const int failure = errno;
        std::error_code error;
        fs::remove(temporary, error);
        return reason(failure);
    }
    return {};
}
#else
// Returns the error that stopped the writing, or 0.
int writeAll(int descriptor, const std::string& text) {
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t count = ::write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count < 0 ? errno : EIO;
        }
        written += static_cast<std::size_t>(count);
    }
    return 0;
}

// Writes the text to a new file beside the path, named in `temporary`. Returns why it cannot,
// in the system's words, or nothing.
std::string writeTemporary(const std::string& path, const std::string& text,
                           std::string& temporary) {
    // mkstemp makes the file for this process alone, 0600, as it holds the phones' secrets,
    // under a name no other running game picks.
    temporary = path + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        return reason(errno);
    }

    int failure = writeAll(descriptor, text);
    // The bytes are on the disk before the name points at them, or a crash could leave an
    // empty file in place of the last good one.
    if (failure == 0 && ::fsync(descriptor) != 0) {
        failure = errno;
    }
    if (::close(descriptor) != 0 && failure == 0) {
        failure = errno;
    }

    if (failure != 0) {
        ::unlink(temporary.c_str());
        return reason(failure);
    }
    return {};
}
#endif
} // namespace

std::string savedGameText(const SavedGame& game) {
    std::string text = "# Kraxelbrett's game in play, for kraxelbrett --resume\n";
    text += "kraxelbrett = " + std::to_string(formatVersion) + "\n";
    if (!game.deck.empty()) {
        text += "deck = " + tomlString(game.deck) + "\n";
    }
    text += "turn = " + std::to_string(game.currentPlayer) + "\n";
    text += "marker = " + std::to_string(game.markedPlayer) + "\n";
    if (game.cardPlayer >= 0) {
        text += "card = " + std::to_string(game.cardPlayer) + "\n";
    }
    text += "finish-order = [";
    for (std::size_t at = 0; at < game.finishOrder.size(); ++at) {
        text += (at == 0 ? "" : ", ") + std::to_string(game.finishOrder[at]);
    }
    text += "]\n";
    if (!game.phoneKey.empty()) {
        text += "phone-key = " + tomlString(game.phoneKey) + "\n";
    }
    for (const SavedPlayer& player : game.players) {
        text += "\n[[player]]\n";
        text += "field = " + std::to_string(player.standing.field) + "\n";
        text += "task = " + std::to_string(player.standing.taskField) + "\n";
        text += "waits = " + std::to_string(player.standing.turnsToWait) + "\n";
        text += std::string("finished = ") + (player.standing.finished ? "true" : "false") + "\n";
        if (!player.name.empty()) {
            text += "name = " + tomlString(player.name) + "\n";
        }
        if (!player.secret.empty()) {
            text += "secret = " + tomlString(player.secret) + "\n";
        }
    }
    return text;
}

SavedGameRead parseSavedGame(std::string_view text, const std::string& path,
                             const std::locale& words) {
    toml::parse_result parsed = toml::parse(text, std::string_view(path));
    if (!parsed) {
        const toml::source_position& at = parsed.error().source().begin;
        return {std::nullopt, path + ":" + std::to_string(at.line) + ":" +
                                  std::to_string(at.column) + ": " +
                                  std::string(parsed.error().description())};
    }
    Checker checker{path, parsed.table(), words, {}};
    SavedGame game;
    if (!checker.game(parsed.table(), game)) {
        return {std::nullopt, checker.problem};
    }
    return {game, {}};
}

SavedGameRead readSavedGame(const std::string& path, const std::locale& words) {
    const std::string why =
        whyNotARegularFile(path, translate("is a folder, not a saved game").str(words), words);
    if (!why.empty()) {
        return {std::nullopt, path + ": " + why};
    }
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        return {std::nullopt,
                path + ": " + translate("cannot be opened; is it readable?").str(words)};
    }
    // One byte more than the limit tells a file at the limit from a larger one, even one that
    // grows while it is read.
    std::string bytes(savedGameLimit + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) {
        return {std::nullopt, path + ": " + translate("cannot be read").str(words)};
    }
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (bytes.size() > savedGameLimit) {
        return {std::nullopt,
                path + ": " + translate("larger than 64 KiB; no saved game is").str(words)};
    }
    return parseSavedGame(bytes, path, words);
}

std::string stateFilePath(const std::function<const char*(const char* name)>& environment,
                          bool windows) {
    const std::string game = userGameFolder(environment, windows, userState);
    return game.empty() ? game : (fs::path(game) / "game.toml").string();
}

std::string saveAtomically(const std::string& path, const std::string& text,
                           const std::locale& words) {
    const fs::path target(path);
    std::string problem = makeFolderFor(target, words);
    if (!problem.empty()) {
        return problem;
    }

    std::string temporary;
    std::string why = writeTemporary(path, text, temporary);
    if (why.empty()) {
        std::error_code error;
        fs::rename(temporary, target, error);
        if (error) {
            why = error.message();
            fs::remove(temporary, error);
        }
    }
    return why.empty() ? why : phrase(words, translate("cannot write {1}: {2}"), path, why);
}

#include "save/SavedGame.hpp"

#include "board/BoardGeometry.hpp"
#include "board/DeckLibrary.hpp"
#include "board/RegularFile.hpp"
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

/// The number after `kraxelbrett =`: raised when an older game could misread the file.
constexpr std::int64_t formatVersion = 1;
/// A game of nine players with their secrets is under 2 KiB; anything much larger is no save.
constexpr std::size_t savedGameLimit = std::size_t{64} * 1024;
constexpr std::size_t hexKeyDigits = 32;

const char* const notOurs = "not a saved game of Kraxelbrett: ";
const char* const gameKeys =
    "a saved game has only kraxelbrett, deck, turn, marker, card, finish-order, phone-key "
    "and [[player]]";
const char* const playerKeys =
    "a [[player]] has only field, task, waits, finished, name and secret";

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

std::string typeName(const toml::node& node) {
    switch (node.type()) {
    case toml::node_type::table: return "a table";
    case toml::node_type::array: return "an array";
    case toml::node_type::string: return "a string";
    case toml::node_type::integer: return "an integer";
    case toml::node_type::floating_point: return "a floating-point number";
    case toml::node_type::boolean: return "true or false";
    default: return "a date or time";
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
    std::string problem;

    bool missing(const toml::table& table, const char* key) {
        return fail(&table,
                    std::string(key) + " is missing; " +
                        (&table == &root ? "a saved game says turn, marker and finish-order"
                                         : "a [[player]] says field, task, waits and finished"));
    }

    bool fail(const toml::node* at, const std::string& what) {
        if (problem.empty()) {
            const int line = at != nullptr && at != &root ? lineOf(*at) : 0;
            problem = path + (line > 0 ? ":" + std::to_string(line) : "") + ": " + what;
        }
        return false;
    }

    bool noUnknownKeys(const toml::table& table, const std::set<std::string>& known,
                       const char* which) {
        for (const auto& [key, value] : table) {
            if (known.count(std::string(key.str())) == 0) {
                return fail(&value,
                            notOurs + ("unknown key " + tomlString(key.str()) + "; ") + which);
            }
        }
        return true;
    }

    /// Reads the integer under the key into `into`, which keeps its value where the key is
    /// missing and not `required`.
    bool integer(const toml::table& table, const char* key, bool required, std::int64_t low,
                 std::int64_t high, const std::string& range, int& into) {
        const toml::node* node = table.get(key);
        if (node == nullptr) {
            return !required || missing(table, key);
        }
        if (!node->is_integer()) {
            return fail(node, std::string(key) + " is " + typeName(*node) + ", not an integer");
        }
        const std::int64_t value = node->as_integer()->get();
        if (value < low || value > high) {
            return fail(node, std::string(key) + " is " + std::to_string(value) + "; " + range);
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
            return fail(node, std::string(key) + " is " + typeName(*node) + ", not a string");
        }
        into = node->as_string()->get();
        if (const char32_t control = firstControl(codePoints(into)); control != 0) {
            return fail(node, std::string(key) + " holds the control character " +
                                  codePointName(control) + "; it holds printable text only");
        }
        return true;
    }

    bool hexKey(const toml::table& table, const char* key, std::string& into) {
        if (!string(table, key, into)) {
            return false;
        }
        return into.empty() || isHexKey(into) ||
               fail(table.get(key), std::string(key) +
                                        " is not 32 lower-case hexadecimal digits; it is what "
                                        "the game drew, or left out");
    }

    bool player(const toml::table& table, SavedPlayer& player) {
        const std::string fields = "fields are 0 to " + std::to_string(goalField);
        if (!noUnknownKeys(table, {"field", "task", "waits", "finished", "name", "secret"},
                           playerKeys) ||
            !integer(table, "field", true, 0, goalField, fields, player.standing.field) ||
            !integer(table, "task", true, 0, goalField, fields, player.standing.taskField) ||
            !integer(table, "waits", true, 0, turnsToWaitOnWaitingField,
                     "a player waits 0 to " + std::to_string(turnsToWaitOnWaitingField) + " turns",
                     player.standing.turnsToWait)) {
            return false;
        }

        const toml::node* finished = table.get("finished");
        if (finished == nullptr) {
            return missing(table, "finished");
        }
        if (!finished->is_boolean()) {
            return fail(finished, "finished is " + typeName(*finished) + ", not true or false");
        }
        player.standing.finished = finished->as_boolean()->get();
        if (player.standing.finished && player.standing.field != goalField) {
            return fail(finished, "finished is true but field is " +
                                      std::to_string(player.standing.field) +
                                      "; a finished player stands on " + std::to_string(goalField));
        }

        if (!string(table, "name", player.name)) {
            return false;
        }
        const toml::node* name = table.get("name");
        const std::size_t length = codePoints(player.name).size();
        if (name != nullptr && (length == 0 || length > longestName)) {
            return fail(name, "name has " + std::to_string(length) +
                                  " characters; a name has 1 to " + std::to_string(longestName) +
                                  ", or is left out");
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
            return fail(node, "player is " + typeName(*node) + ", not [[player]] tables");
        }
        for (const toml::node& element : *array) {
            if (into.size() == static_cast<std::size_t>(maxPlayers)) {
                return fail(&element, "one player too many; a game has at most " +
                                          std::to_string(maxPlayers) + " players");
            }
            into.emplace_back();
            if (!player(*element.as_table(), into.back())) {
                return false;
            }
        }
        return true;
    }

    bool finishOrder(const toml::table& table, SavedGame& game) {
        const toml::node* node = table.get("finish-order");
        if (node == nullptr) {
            return missing(table, "finish-order");
        }
        const toml::array* array = node->as_array();
        if (array == nullptr) {
            return fail(node, "finish-order is " + typeName(*node) + ", not an array");
        }
        const auto count = static_cast<std::int64_t>(game.players.size());
        for (const toml::node& element : *array) {
            if (!element.is_integer()) {
                return fail(&element, "finish-order holds " + typeName(element) +
                                          "; it holds players' indices, from 0");
            }
            const std::int64_t index = element.as_integer()->get();
            if (index < 0 || index >= count) {
                return fail(&element,
                            "finish-order holds " + std::to_string(index) +
                                ", which is no player's index; " +
                                (count == 0 ? std::string("there are no players")
                                            : "they are 0 to " + std::to_string(count - 1)));
            }
            const int player = static_cast<int>(index);
            if (std::count(game.finishOrder.begin(), game.finishOrder.end(), player) != 0) {
                return fail(&element, "finish-order holds " + std::to_string(player) +
                                          " twice; it lists each finished player once");
            }
            if (!game.players[player].standing.finished) {
                return fail(&element, "finish-order holds " + std::to_string(player) +
                                          ", who has not finished; it lists finished players only");
            }
            game.finishOrder.push_back(player);
        }
        for (int player = 0; player < static_cast<int>(count); ++player) {
            if (game.players[player].standing.finished &&
                std::count(game.finishOrder.begin(), game.finishOrder.end(), player) == 0) {
                return fail(node, "finish-order lacks " + std::to_string(player) +
                                      ", who has finished; it lists every finished player");
            }
        }
        return true;
    }

    bool game(const toml::table& table, SavedGame& game) {
        const toml::node* version = table.get("kraxelbrett");
        if (version == nullptr) {
            return fail(nullptr,
                        notOurs + ("it has no kraxelbrett = " + std::to_string(formatVersion)));
        }
        if (!version->is_integer() || version->as_integer()->get() != formatVersion) {
            const std::string value = version->is_integer()
                                          ? std::to_string(version->as_integer()->get())
                                          : typeName(*version);
            return fail(version, notOurs + ("kraxelbrett is " + value +
                                            ", where this version writes kraxelbrett = " +
                                            std::to_string(formatVersion)));
        }
        if (!noUnknownKeys(table,
                           {"kraxelbrett", "deck", "turn", "marker", "card", "finish-order",
                            "phone-key", "player"},
                           gameKeys) ||
            !string(table, "deck", game.deck) || !players(table, game.players)) {
            return false;
        }

        const auto last = static_cast<std::int64_t>(game.players.size()) - 1;
        const std::string players = "with " + std::to_string(game.players.size()) + " players";
        const std::string indices = game.players.empty()
                                        ? "with no players it is 0"
                                        : players + " it is 0 to " + std::to_string(last);
        return integer(table, "turn", true, 0, std::max<std::int64_t>(last, 0), indices,
                       game.currentPlayer) &&
               integer(table, "marker", true, 0, std::max<std::int64_t>(last, 0), indices,
                       game.markedPlayer) &&
               integer(table, "card", false, -1, last,
                       game.players.empty() ? "with no players it is left out"
                                            : players + " it is 0 to " + std::to_string(last) +
                                                  ", or left out for no card",
                       game.cardPlayer) &&
               finishOrder(table, game) && hexKey(table, "phone-key", game.phoneKey);
    }
};

std::string reason(int error) {
    return std::generic_category().message(error);
}

// Returns why the folder the file goes into cannot be made, or nothing.
std::string makeFolderFor(const fs::path& target) {
    if (!target.has_parent_path()) {
        return {};
    }
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error) {
        return "cannot make the folder " + target.parent_path().string() + ": " + error.message();
    }
    return {};
}

#ifdef _WIN32
// Writes the text to a new file beside the path, named in `temporary`. Returns why it cannot,
// or nothing.
std::string writeTemporary(const std::string& path, const std::string& text,
                           std::string& temporary) {
    temporary = path + ".new";
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file.is_open()) {
        return "cannot write " + path + ": " + reason(errno);
    }
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.flush();
    file.close();
    if (file.fail()) {
        const int failure = errno;
        std::error_code error;
        fs::remove(temporary, error);
        return "cannot write " + path + ": " + reason(failure);
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
// or nothing.
std::string writeTemporary(const std::string& path, const std::string& text,
                           std::string& temporary) {
    // mkstemp makes the file for this process alone, 0600, as it holds the phones' secrets,
    // under a name no other running game picks.
    temporary = path + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        return "cannot write " + path + ": " + reason(errno);
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
        return "cannot write " + path + ": " + reason(failure);
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

SavedGameRead parseSavedGame(std::string_view text, const std::string& path) {
    toml::parse_result parsed = toml::parse(text, std::string_view(path));
    if (!parsed) {
        const toml::source_position& at = parsed.error().source().begin;
        return {std::nullopt, path + ":" + std::to_string(at.line) + ":" +
                                  std::to_string(at.column) + ": " +
                                  std::string(parsed.error().description())};
    }
    Checker checker{path, parsed.table(), {}};
    SavedGame game;
    if (!checker.game(parsed.table(), game)) {
        return {std::nullopt, checker.problem};
    }
    return {game, {}};
}

SavedGameRead readSavedGame(const std::string& path) {
    const std::string why =
        whyNotARegularFile(path, "is a folder, not a saved game", std::locale::classic());
    if (!why.empty()) {
        return {std::nullopt, path + ": " + why};
    }
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        return {std::nullopt, path + ": cannot be opened; is it readable?"};
    }
    // One byte more than the limit tells a file at the limit from a larger one, even one that
    // grows while it is read.
    std::string bytes(savedGameLimit + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) {
        return {std::nullopt, path + ": cannot be read"};
    }
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (bytes.size() > savedGameLimit) {
        return {std::nullopt, path + ": larger than 64 KiB; no saved game is"};
    }
    return parseSavedGame(bytes, path);
}

std::string stateFilePath(const std::function<const char*(const char* name)>& environment,
                          bool windows) {
    const std::string game = userGameFolder(environment, windows, userState);
    return game.empty() ? game : (fs::path(game) / "game.toml").string();
}

std::string saveAtomically(const std::string& path, const std::string& text) {
    const fs::path target(path);
    std::string problem = makeFolderFor(target);
    if (!problem.empty()) {
        return problem;
    }

    std::string temporary;
    problem = writeTemporary(path, text, temporary);
    if (!problem.empty()) {
        return problem;
    }

    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        const std::string failure = error.message();
        fs::remove(temporary, error);
        return "cannot write " + path + ": " + failure;
    }
    return {};
}

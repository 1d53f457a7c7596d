#include "core/CommandLine.hpp"

#include <boost/locale/message.hpp>

namespace {
namespace locale = boost::locale;

std::string about(const std::locale& words) {
    // TRANSLATORS: each line of --help fits into 80 columns; the options' own names stay.
    return locale::translate("Kraxelbrett: a party board game for a group at one screen, a race "
                             "over 113 fields with\n"
                             "tasks for the group to carry out.\n")
        .str(words);
}

std::string options(const std::locale& words) {
    return locale::translate(
               "Without arguments the game starts full screen with the German board.\n")
               .str(words) +
           "\n" +
           locale::translate(
               "  DECK           play with a deck of tasks: the name of a deck (english, "
               "alkoholfrei,\n"
               "                 alcohol-free, familie, family, deutsch, or one's own), or the "
               "path\n"
               "                 of a .toml file\n"
               "  --mute         start with the sound off (M turns it on and off)\n"
               "  --tv           the sofa view: the task reached large on a card, a podium when\n"
               "                 everyone has finished (N: another round), and the game saved "
               "after\n"
               "                 every join, leave and turn to "
               "$XDG_STATE_HOME/kraxelbrett/game.toml\n"
               "                 (~/.local/state/kraxelbrett/game.toml; on Windows\n"
               "                 %LOCALAPPDATA%\\kraxelbrett\\game.toml)\n"
               "  --resume       go on with the game saved last, in the sofa view, exactly where "
               "it\n"
               "                 stood (with its deck: none is given)\n"
               "  --phones       everyone plays from their own phone: the TV shows a QR code and "
               "a\n"
               "                 link to open; the game listens on port 8112 (or the next free "
               "one)\n"
               "                 of every network interface. The view is the sofa view\n"
               "  --phones=ADDRESS:PORT\n"
               "                 the same, listening on that address and port alone\n"
               "  --list-decks   list the decks found: name, language, title and file\n"
               "  --check DECK   check a deck and tell every problem, one line each\n"
               "  --help         this text\n"
               "  --version      the version\n")
               .str(words);
}

std::string deckExample(const std::locale& words) {
    return locale::translate(
               "A deck is a TOML file, for example:\n"
               "  title = \"Our party\"\n"
               "  language = \"en\"\n"
               "  base = \"english\"          # optional: start from this deck's fields\n"
               "  [fields]\n"
               "  5 = \"Sing a song\"\n"
               "  8 = \"Tell a joke\\nor do 10 squats\"\n"
               "Without base it gives all fields, 0 to 112. One's own decks go into\n"
               "~/.local/share/kraxelbrett/decks (on Windows %APPDATA%\\kraxelbrett\\decks).\n")
        .str(words);
}

std::string keys(const std::locale& words) {
    return locale::translate(
               "Keys:\n"
               "  numpad +   a new player joins (up to nine)\n"
               "  numpad -   the last player leaves\n"
               "  W          the player whose turn it is rolls the die; so do a pad's face\n"
               "             buttons, a left click and a tap\n"
               "  N          another round, once the sofa view shows the podium\n"
               "  M          sound off, and on again\n"
               "  Q          with phones: the invitation large, and small again\n"
               "  Escape     ends the game\n")
        .str(words);
}

bool isOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

// ADDRESS:PORT, the address in brackets if it is IPv6; whether the address is one is for the
// server to find out as it listens.
std::optional<PhonesPlace> readPhonesPlace(const std::string& argument) {
    const std::string prefix = "--phones";
    if (argument == prefix) {
        return PhonesPlace{};
    }
    if (argument.rfind(prefix + "=", 0) != 0) {
        return std::nullopt;
    }
    const std::string place = argument.substr(prefix.size() + 1);
    const std::size_t colon = place.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == place.size() ||
        place.size() - colon > 6 ||
        place.find_first_not_of("0123456789", colon + 1) != std::string::npos) {
        return std::nullopt;
    }
    std::string address = place.substr(0, colon);
    if (address.size() > 2 && address.front() == '[' && address.back() == ']') {
        address = address.substr(1, address.size() - 2);
    }
    const unsigned long port = std::stoul(place.substr(colon + 1));
    if (port == 0 || port > 65535) {
        return std::nullopt;
    }
    return PhonesPlace{address, static_cast<unsigned short>(port), true};
}
} // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments) {
    using Action = CommandLine::Action;
    if (arguments.size() == 1) {
        const std::string& argument = arguments[0];
        if (argument == "--version") {
            return {Action::version, ""};
        }
        if (argument == "--help") {
            return {Action::help, ""};
        }
        if (argument == "--list-decks") {
            return {Action::listDecks, ""};
        }
    }
    if (arguments.size() == 2 && arguments[0] == "--check" && !arguments[1].empty()) {
        return {Action::check, arguments[1]};
    }
    // A deck, --mute and --phones, each at most once, in any order.
    CommandLine play;
    for (const std::string& argument : arguments) {
        if (argument == "--mute" && !play.mute) {
            play.mute = true;
        } else if (const auto phones = readPhonesPlace(argument); phones && !play.phones) {
            play.phones = phones;
        } else if (argument == "--tv" && !play.tv) {
            play.tv = true;
        } else if (argument == "--resume" && !play.resume) {
            play.resume = true;
        } else if (!isOption(argument) && !argument.empty() && play.deck.empty()) {
            play.deck = argument;
        } else {
            return {Action::usage, ""};
        }
    }
    if (play.resume && !play.deck.empty()) {
        // The saved game has its own deck.
        return {Action::usage, ""};
    }
    // A resumed game is a saved one, and only the sofa view saves.
    play.tv = play.tv || play.phones.has_value() || play.resume;
    return play;
}

std::string helpText(const std::locale& words) {
    return about(words) + "\n" + usageText(words) + options(words) + "\n" + deckExample(words) +
           "\n" + keys(words);
}

std::string versionText() {
    return std::string("kraxelbrett ") + KRAXELBRETT_VERSION + "\n";
}

std::string usageText(const std::locale& words) {
    return locale::translate(
               "Usage: kraxelbrett [--mute] [--tv] [--phones[=ADDRESS:PORT]] [--resume] "
               "[DECK] | --list-decks\n"
               "       | --check DECK | --help | --version\n")
        .str(words);
}

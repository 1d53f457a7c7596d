#include "board/DeckLibrary.hpp"
#include "board/TextMeasure.hpp"
#include "core/Assets.hpp"
#include "core/CommandLine.hpp"
#include "core/DeckChoice.hpp"
#include "core/DisplayCheck.hpp"
#include "core/Game.hpp"
#include "core/LeakCheck.hpp"
#include "language/Language.hpp"
#include "language/Phrase.hpp"
#include "phones/NetworkAddress.hpp"
#include "phones/PhoneAccess.hpp"
#include "phones/PhoneServer.hpp"
#include "save/SavedGame.hpp"

#include <boost/locale/message.hpp>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <string>
#endif

namespace {
namespace locale = boost::locale;

/// A deck that cannot be played, as a wrong argument cannot.
constexpr int badDeckExit = 2;

// A fixed seed replays the same rolls, so that a whole game can be scripted and checked.
GameOptions optionsFromEnvironment() {
    GameOptions options;
    if (const char* seed = std::getenv("KRAXELBRETT_SEED")) {
        options.seed = static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10));
    }
    return options;
}

// An answer that did not reach its reader (a full disk, a closed pipe) is no success.
int answer(const std::string& out, const std::string& err, int exitCode) {
    std::cout << out << std::flush;
    std::cerr << err << std::flush;
    if (!std::cout || !std::cerr) {
        const int error = errno;
        std::cerr << "kraxelbrett: cannot write the answer: " << std::strerror(error) << '\n';
        return 1;
    }
    return exitCode;
}

std::string deckList() {
    std::string lines;
    for (const ListedDeck& deck : listDecks(gameDeckFolders())) {
        lines += listLine(deck);
    }
    return lines;
}

#ifdef _WIN32
// Started by a double-click or a dropped deck, the game has a console of its own, which
// closes with it before anyone can read it: a message box says what is wrong instead.
void tellInWindow(const std::string& utf8) {
    DWORD processes[2];
    if (utf8.empty() || GetConsoleProcessList(processes, 2) != 1) {
        return;
    }
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), length);
    MessageBoxW(nullptr, text.c_str(), L"Kraxelbrett", MB_OK | MB_ICONERROR);
}

// A deck dropped onto the .exe starts it in some other folder; its assets and decks lie
// beside the .exe.
void moveToGameFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length != 0 && length < MAX_PATH) {
        std::error_code error;
        std::filesystem::current_path(std::filesystem::path(path).parent_path(), error);
    }
}
#endif

#ifndef _WIN32
// The build's binary started from another folder (the repository's, say) reads the assets and
// decks beside it, as the installed one does through its launcher.
void moveBesideAssets() {
    std::error_code error;
    const std::filesystem::path working = std::filesystem::current_path(error);
    const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::string folder = gameFolder(working.string(), binary.string());
        if (folder != working.string()) {
            std::filesystem::current_path(folder, error);
        }
    }
}
#endif

// Listens for the phones and gives the game the links to show. Returns a line on why it
// cannot, or nothing.
std::string openToPhones(PhoneServer& server, const PhonesPlace& place, const std::string& key,
                         GameOptions& options) {
    PhoneServerSettings settings;
    settings.address = place.address;
    settings.port = place.port;
    settings.tryNextPorts = !place.exact;
    settings.key = key;
    settings.words = options.words;
    settings.told = options.told;
    settings.shownAddresses = place.exact
                                  ? std::vector<std::string>{place.address}
                                  : phoneAddresses(machineAddresses(), defaultRouteInterfaces());
    if (settings.shownAddresses.empty()) {
        // Nothing to show: the keyboard game goes on, and the TV says why no phone can join.
        options.phones = &server;
        return {};
    }
    std::string problem = server.start(settings);
    if (!problem.empty()) {
        return problem;
    }
    for (const std::string& address : settings.shownAddresses) {
        options.phoneLinks.push_back("http://" + hostWithPort(address, server.port()) + "/" +
                                     settings.key + "/");
        std::cout << phrase(options.told, locale::translate("kraxelbrett: phones join at {1}"),
                            options.phoneLinks.back())
                  << '\n';
    }
    std::cout << std::flush;
    options.phones = &server;
    return {};
}

// Keeps the game after every change, as a whole file or not at all. A failure is told once
// for each reason, and the game goes on: the evening matters more than its file.
struct Keeper {
    std::locale told;
    std::string path;
    std::string deck;
    std::string phoneKey;
    std::string lastProblem;
    bool kept = false;

    void keep(SavedGame game) {
        game.deck = deck;
        game.phoneKey = phoneKey;
        const std::string problem =
            path.empty()
                ? locale::translate("no folder to keep it in: set XDG_STATE_HOME or HOME").str(told)
                : saveAtomically(path, savedGameText(game), told);
        if (!problem.empty() && problem != lastProblem) {
            std::cerr << phrase(told, locale::translate("kraxelbrett: the game is not saved: {1}"),
                                problem)
                      << '\n'
                      << std::flush;
        }
        lastProblem = problem;
        kept = problem.empty();
    }
};

// The saved game that --resume goes on with, or nothing: a new game then starts, and the line
// says why.
std::optional<SavedGame> savedToResume(const std::string& path, const std::locale& told) {
    if (path.empty()) {
        std::cerr << locale::translate("kraxelbrett: no saved game: no folder for it (set "
                                       "XDG_STATE_HOME or HOME); a new game starts\n")
                         .str(told);
        return std::nullopt;
    }
    SavedGameRead read = readSavedGame(path, told);
    if (!read.game) {
        std::cerr << phrase(told, locale::translate("{1}; a new game starts"), read.problem)
                  << '\n';
    }
    return read.game;
}

int play(GameOptions options, const std::optional<PhonesPlace>& phones,
         std::optional<SavedGame> resumed, Keeper* keeper) {
    // Kept for the last line: the game takes the options.
    const std::locale told = options.told;
    DisplayConnection display(told);
    if (!display.problem().empty()) {
        std::cerr << display.problem();
        return 1;
    }
    // Joined when it goes, after the game: nothing of the game is left for it to reach.
    PhoneServer server;
    if (phones) {
        if (keeper != nullptr && keeper->phoneKey.empty()) {
            keeper->phoneKey = randomSecret();
        }
        const std::string problem = openToPhones(
            server, *phones, keeper != nullptr ? keeper->phoneKey : randomSecret(), options);
        if (!problem.empty()) {
            std::cerr << problem;
            return 1;
        }
    }
#ifdef _WIN32
    FreeConsole();
#endif
    if (keeper != nullptr) {
        options.save = [keeper](const SavedGame& state) { keeper->keep(state); };
    }
    Game game(std::move(options));
    if (resumed) {
        game.resume(*resumed);
    }
    display.close();
    bool soundStarted = false;
    while (game.isOpen()) {
        game.update();
        game.render();
        // Once the board is on the screen: the device takes tens of milliseconds to open.
        if (!soundStarted) {
            std::cerr << game.startSound() << std::flush;
            soundStarted = true;
        }
    }
    if (keeper != nullptr && keeper->kept) {
        std::cout << locale::translate(
                         "kraxelbrett: the game is saved; kraxelbrett --resume goes on with it\n")
                         .str(told)
                  << std::flush;
    }
    return 0;
}

// --check: the deck's problems, one line each, and whether it is good.
int checkDeck(const std::string& deck, const std::string& start, const std::locale& told) {
    std::string problems;
    std::string notes;
    bool good = loadChosenDeck(deck, start, problems, notes, nullptr, told).has_value();
    // Without the font neither glyphs nor label sizes were checked: no deck is good then.
    if (!TextMeasure(fontPath).loaded()) {
        problems += phrase(
            told,
            locale::translate("kraxelbrett: {1}: the game's font cannot be read, so the deck's "
                              "characters and label sizes cannot be checked\n"),
            fontPath);
        good = false;
    }
    const std::string verdict =
        good ? phrase(told, locale::translate("{1}: no problems\n"), deck) : "";
    return answer(notes + verdict, problems, good ? 0 : 1);
}

// The saved game's own deck, for the game to go on with; a saved game whose deck cannot be
// played any more is dropped.
void takeSavedDeck(std::optional<SavedGame>& resumed, const std::string& start,
                   GameOptions& options, std::string& language, const std::locale& told) {
    std::string problems;
    std::string notes;
    options.fieldTexts = loadChosenDeck(resumed->deck, start, problems, notes, &language, told);
    if (!options.fieldTexts) {
        std::cerr << problems
                  << locale::translate("kraxelbrett: the saved game's deck cannot be played; a "
                                       "new game starts\n")
                         .str(told);
        resumed.reset();
    }
}

// The saved game's deck and phones' key are kept again, and its phones come back to the link
// they had, with their seats' secrets.
void goOnWith(const SavedGame& resumed, Keeper& keeper, std::optional<PhonesPlace>& phones) {
    keeper.deck = resumed.deck;
    keeper.phoneKey = resumed.phoneKey;
    if (!resumed.phoneKey.empty() && !phones) {
        phones = PhonesPlace{};
    }
}

// A new game with the deck asked for, or the saved one with its own.
int playAsAsked(const CommandLine& asked, const std::string& start, const std::locale& told) {
    GameOptions options = optionsFromEnvironment();
    options.muted = asked.mute;
    options.sofaView = asked.tv;
    Keeper keeper;
    keeper.told = told;
    keeper.path = gameStateFile();
    keeper.deck = deckToKeep(asked.deck, start);
    std::optional<SavedGame> resumed =
        asked.resume ? savedToResume(keeper.path, told) : std::nullopt;

    // The board's own tasks are German, and so is what the TV says around them.
    std::string language;
    if (resumed && !resumed->deck.empty()) {
        takeSavedDeck(resumed, start, options, language, told);
    } else if (!asked.deck.empty()) {
        std::string problems;
        std::string notes;
        options.fieldTexts = loadChosenDeck(asked.deck, start, problems, notes, &language, told);
        if (!options.fieldTexts) {
#ifdef _WIN32
            tellInWindow(problems);
#endif
            return answer("", problems, badDeckExit);
        }
    }

    options.words = tvWords(options.fieldTexts ? language : "");
    options.told = told;
    std::optional<PhonesPlace> phones = asked.phones;
    if (resumed) {
        goOnWith(*resumed, keeper, phones);
    }
    return play(std::move(options), phones, std::move(resumed), asked.tv ? &keeper : nullptr);
}
} // namespace

int main(int argc, char* argv[]) {
    // First of all, and without a display: the answers, the decks, and on Windows while the
    // console they print to is still there.
    const CommandLine asked =
        readCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    using Action = CommandLine::Action;
    const std::string start = startFolder();
#ifdef _WIN32
    moveToGameFolder();
#else
    moveBesideAssets();
#endif
    // Beside the assets, where the build and the zip keep the catalogues.
    const std::locale told = terminalWords();
    switch (asked.action) {
    case Action::help: return answer(helpText(told), "", 0);
    case Action::version: return answer(versionText(), "", 0);
    case Action::usage: return answer("", usageText(told), 2);
    case Action::listDecks: return answer(deckList(), "", 0);
    case Action::check: return checkDeck(asked.deck, start, told);
    case Action::play: break;
    }
    const int code = playAsAsked(asked, start, told);
    lookForLeaksNow();
    return code;
}

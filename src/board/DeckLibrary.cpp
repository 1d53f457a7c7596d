#include "board/DeckLibrary.hpp"

#include "board/Deck.hpp"

#include <algorithm>
#include <filesystem>
#include <map>

namespace {
namespace fs = std::filesystem;

const char* const deckExtension = ".toml";

bool isDeckFile(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.path().extension() == deckExtension && entry.is_regular_file(error);
}

std::string padded(const std::string& text, std::size_t width) {
    // Columns are counted in characters, not in bytes of UTF-8.
    const auto characters = static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char byte) { return (byte & 0xC0) != 0x80; }));
    return text + std::string(characters < width ? width - characters : 1, ' ');
}
} // namespace

std::string userGameFolder(const Environment& environment, bool windows,
                           const UserFolderKind& kind) {
    const auto set = [&environment](const char* name) {
        const char* value = environment(name);
        return value != nullptr && *value != '\0' ? std::string(value) : std::string();
    };
    fs::path base;
    if (windows) {
        base = set(kind.windowsVariable);
    } else if (fs::path(set(kind.xdgVariable)).is_absolute()) {
        // The desktop's conventions ignore a relative XDG folder.
        base = set(kind.xdgVariable);
    } else if (!set("HOME").empty()) {
        base = fs::path(set("HOME")) / kind.homeFolder;
    }
    return base.empty() ? std::string() : (base / "kraxelbrett").string();
}

std::string userDeckFolder(const Environment& environment, bool windows) {
    const std::string game = userGameFolder(environment, windows, userData);
    return game.empty() ? game : (fs::path(game) / "decks").string();
}

bool namesDeckFile(const std::string& deck) {
    const fs::path path(deck);
    return path.extension() == deckExtension || path.has_parent_path();
}

std::string findDeck(const std::string& name, const DeckFolders& folders) {
    for (const std::string& folder : {folders.user, folders.shipped}) {
        if (folder.empty()) {
            continue;
        }
        const fs::path file = fs::path(folder) / (name + deckExtension);
        std::error_code error;
        if (fs::exists(file, error)) {
            return file.string();
        }
    }
    return {};
}

std::vector<ListedDeck> listDecks(const DeckFolders& folders) {
    std::map<std::string, ListedDeck> byName;
    // The game's first, so that the user's take their place.
    for (const std::string& folder : {folders.shipped, folders.user}) {
        std::error_code error;
        if (folder.empty() || !fs::is_directory(folder, error)) {
            continue;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            if (!isDeckFile(entry)) {
                continue;
            }
            std::vector<DeckProblem> problems;
            // Listed, not told: its problems only mark it.
            const DeckFile file =
                readDeckFile(entry.path().string(), problems, std::locale::classic());
            ListedDeck deck{entry.path().stem().string(), file.language, file.title,
                            entry.path().string(),        false,         !problems.empty()};
            deck.replacesShipped = folder == folders.user && byName.count(deck.name) != 0;
            byName[deck.name] = deck;
        }
    }
    std::vector<ListedDeck> decks;
    decks.reserve(byName.size());
    for (auto& [name, deck] : byName) {
        decks.push_back(deck);
    }
    return decks;
}

std::string listLine(const ListedDeck& deck) {
    std::string line = padded(deck.name, 16) +
                       padded(deck.language.empty() ? "?" : deck.language, 8) +
                       padded(deck.title.empty() ? "?" : deck.title, 20) + deck.file;
    if (deck.replacesShipped) {
        line += " (the user's, in place of the game's own)";
    }
    if (deck.broken) {
        line += " (has problems: kraxelbrett --check " + deck.name + ")";
    }
    return line + "\n";
}

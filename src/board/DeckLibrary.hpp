#pragma once

#include <functional>
#include <string>
#include <vector>

/// The folders decks are found in, searched in this order: the user's own, then the game's.
struct DeckFolders {
    /// Empty where the user has no home to keep decks in.
    std::string user;
    std::string shipped;
};

/// Reads an environment variable: null when it is not set.
using Environment = std::function<const char*(const char* name)>;

/// Where the desktop keeps one kind of the user's files: on Windows the folder in
/// `windowsVariable`; else the absolute folder in `xdgVariable`, or `homeFolder` under HOME.
struct UserFolderKind {
    const char* windowsVariable;
    const char* xdgVariable;
    const char* homeFolder;
};
const UserFolderKind userData{"APPDATA", "XDG_DATA_HOME", ".local/share"};
const UserFolderKind userState{"LOCALAPPDATA", "XDG_STATE_HOME", ".local/state"};

/// The game's own folder among the user's files of that kind (`…/kraxelbrett`); empty where
/// the environment names none.
std::string userGameFolder(const Environment& environment, bool windows,
                           const UserFolderKind& kind);

/// The user's deck folder, by the desktop's conventions: `$XDG_DATA_HOME/kraxelbrett/decks`,
/// else `~/.local/share/kraxelbrett/decks`; on Windows `%APPDATA%\kraxelbrett\decks`.
std::string userDeckFolder(const Environment& environment, bool windows);

/// Whether a deck named on the command line is a file rather than a deck's name: it ends in
/// `.toml` or has a folder in it.
bool namesDeckFile(const std::string& deck);

/// The file of the deck of that name: the user's first, then the game's; empty if neither.
std::string findDeck(const std::string& name, const DeckFolders& folders);

/// A deck found in the folders.
struct ListedDeck {
    std::string name;
    std::string language;
    std::string title;
    std::string file;
    /// A deck of the user's that has the name of one of the game's, which it replaces.
    bool replacesShipped = false;
    /// A deck with problems: its title and language may be missing.
    bool broken = false;
};

/// Every deck in the folders, sorted by name; of two with one name, the user's.
std::vector<ListedDeck> listDecks(const DeckFolders& folders);

/// One line of `--list-decks`: name, language, title and file, in columns.
std::string listLine(const ListedDeck& deck);

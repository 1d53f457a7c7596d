#pragma once

#include <functional>
#include <locale>
#include <string>
#include <vector>

/// The name of the game's catalogues: `FOLDER/LANGUAGE/LC_MESSAGES/kraxelbrett.mo`.
constexpr const char* catalogueDomain = "kraxelbrett";

/// The folders that may hold the game's catalogues, from the game's folder: its own `locale`
/// beside its assets (the build folder, the Windows zip), then where the system keeps them
/// (from the installed game's data folder).
std::vector<std::string> catalogueFolders();

/// A language as a deck's tag names it ("de", "de-AT") or a locale does ("de_DE.UTF-8@euro"):
/// the language in lower case and the region in upper case, each empty where it names none.
struct LanguageName {
    std::string language;
    std::string region;
};
LanguageName parseLanguage(const std::string& name);

/// Whether a catalogue of the game is there for the language or its primary subtag.
bool hasCatalogue(const std::string& name, const std::vector<std::string>& folders);

/// The game's texts in the language: a locale holding the catalogue for it (the region's own,
/// else the language's), or none, which leaves the English they are written in. It is only for
/// looking messages up: everything else in it is the classic locale, so numbers and the
/// board's texts come out exactly as without it.
std::locale wordsIn(const std::string& name, const std::vector<std::string>& folders);

/// The language the desktop asks of programs in a terminal, in gettext's order: each of
/// LANGUAGE's list (unless the locale is C), then the first set of LC_ALL, LC_MESSAGES and
/// LANG. The first that is English or has a catalogue wins; empty means English.
std::string desktopLanguage(const std::function<const char*(const char*)>& variable,
                            const std::function<bool(const std::string&)>& hasCatalogue);

/// The game's texts for the terminal: the desktop's language (on Windows the user's), else
/// English.
std::locale terminalWords();

/// The game's texts on the TV and the phones: those of the deck's language, and German for
/// the board's own tasks.
std::locale tvWords(const std::string& deckLanguage);

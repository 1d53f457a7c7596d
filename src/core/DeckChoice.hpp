#pragma once

#include "board/DeckLibrary.hpp"
#include "board/FieldText.hpp"

#include <locale>
#include <optional>
#include <string>

/// The deck folders of the game on this machine: the user's, by the desktop's conventions,
/// and the game's own `decks` beside its assets (the working folder).
DeckFolders gameDeckFolders();

/// The folder the game was started in: the launcher changes to the game's data folder, and
/// passes the one it was started in on in KRAXELBRETT_START_FOLDER.
std::string startFolder();

/// Loads the deck named on the command line, a file or a deck's name, as the game plays it.
/// A relative file is found from the start folder. Without a problem it gives the deck's
/// texts; else every problem, one line each. Notes (a label shrunk to fit) go to `notes`, and
/// the deck's language tag to `language` where it is given. Problems are told in `told`'s
/// language.
std::optional<FieldTexts> loadChosenDeck(const std::string& deck, const std::string& start,
                                         std::string& problems, std::string& notes,
                                         std::string* language = nullptr,
                                         const std::locale& told = std::locale::classic());

/// Where the sofa view keeps the game, by the desktop's conventions; empty where the
/// environment names no folder for it.
std::string gameStateFile();

/// The deck as a saved game keeps it: a name as it is, a file as its whole path, so that the
/// game resumes with it from any folder.
std::string deckToKeep(const std::string& deck, const std::string& start);

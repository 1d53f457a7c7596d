#pragma once

#include "board/DeckLibrary.hpp"
#include "board/FieldText.hpp"

#include <optional>
#include <string>

/// The deck folders of the game on this machine: the user's, by the desktop's conventions,
/// and the game's own `decks` beside its assets (the working folder).
DeckFolders gameDeckFolders();

/// Loads the deck named on the command line, a file or a deck's name, as the game plays it.
/// A relative file is found from the folder the game was started in, which the launcher
/// passes on in KRAXELBRETT_START_FOLDER since it changes to the game's data folder.
/// Without a problem it gives the deck's texts; else every problem, one line each. Notes (a
/// label shrunk to fit) are told in `notes`.
std::optional<FieldTexts> loadChosenDeck(const std::string& deck, std::string& problems,
                                         std::string& notes);

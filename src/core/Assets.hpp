#pragma once

#include <locale>
#include <ostream>
#include <string>

/// The game's assets, read from its working folder: the build folder, the installed data
/// folder (the launcher starts the game there), or the folder of the .exe.
const char* const fontPath = "assets/SmallMemory.ttf";
const char* const dieImagePath = "assets/dice.png";

/// Whether the asset at the path is a regular file (or a link to one), which is all the game
/// reads: a pipe, a socket or a device in its place would block the game on the read. When it
/// is not, says so on the stream in one line, and the game goes on without the asset.
bool assetReadable(const std::string& path, std::ostream& messages,
                   const std::locale& told = std::locale::classic());

/// The folder the game reads its assets and decks from: the working folder where it has an
/// `assets` folder, as the launcher and the build folder do; else the binary's own folder
/// where that has one, as a build started from elsewhere; else the working folder.
std::string gameFolder(const std::string& working, const std::string& binary);

#pragma once

#include "board/FieldText.hpp"

#include <cstdint>
#include <functional>
#include <locale>
#include <string>
#include <vector>

class TextMeasure;

/// One thing wrong with a deck, told as `FILE:LINE: field N: what is wrong`; the line and the
/// field where they are known.
struct DeckProblem {
    std::string file;
    int line = 0;
    int field = -1;
    std::string what;
    /// Only worth knowing, not wrong: a label shrunk to fit.
    bool note = false;
};

/// The problem as the user reads it, one line ending in a line feed.
std::string describe(const DeckProblem& problem, const std::locale& words);

/// A deck file's largest size: decks are a few kilobytes, and anything larger is no deck.
constexpr std::uintmax_t deckFileLimit = std::uintmax_t{1024} * 1024;

/// What one deck file says.
struct DeckFile {
    std::string path;
    /// Whether it was read and is TOML; if not, nothing else of it is known.
    bool parsed = false;
    std::string title;
    std::string language;
    std::string base;
    int baseLine = 0;
    /// The texts it gives, by field number, and the line each stands on (0: none given).
    std::array<std::string, fieldCount> texts;
    std::array<int, fieldCount> lines{};
};

/// Reads and checks one deck file: a regular file of at most `deckFileLimit` bytes, UTF-8
/// (with or without a byte order mark), TOML with a title, a language tag, an optional base
/// and a table of fields numbered 0 to 112, each a non-empty text. Problems are added, told
/// in the language of `words`.
DeckFile readDeckFile(const std::string& path, std::vector<DeckProblem>& problems,
                      const std::locale& words);

/// The path of the deck file of that name, or empty when there is none.
using DeckFinder = std::function<std::string(const std::string& name)>;

/// The task texts and label sizes of the deck at the path: its own fields over those of its
/// base, and of the base's base, down to a deck that gives all 113. The labels keep their
/// table sizes where they fit on their squares, else shrink to the largest that fits; where
/// the font is there to measure them. Problems are added (and a note for each label shrunk);
/// the texts count only without a problem. Problems are told in the language of `words`.
/// Where `language` is given, it gets the deck's own language tag.
FieldTexts loadDeck(const std::string& path, const DeckFinder& find, const TextMeasure& measure,
                    std::vector<DeckProblem>& problems, const std::locale& words,
                    std::string* language = nullptr);

/// The smallest size a label may shrink to: below it nobody at the table can read it.
constexpr unsigned int smallestLabelSize = 9;

/// The character size at which the label fits on a square of the given side, at most its
/// size from the table; 0 when it does not fit even at `smallestLabelSize`.
unsigned int fittingLabelSize(const std::string& label, unsigned int tableSize, float side,
                              const TextMeasure& measure);

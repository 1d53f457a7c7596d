#include "core/DeckChoice.hpp"

#include "board/Deck.hpp"
#include "board/TextMeasure.hpp"
#include "core/Assets.hpp"
#include "language/Phrase.hpp"
#include "save/SavedGame.hpp"

#include <boost/locale/message.hpp>

#include <cstdlib>
#include <filesystem>

namespace {
const char* const shippedDeckFolder = "decks";

#ifdef _WIN32
constexpr bool onWindows = true;
#else
constexpr bool onWindows = false;
#endif
} // namespace

DeckFolders gameDeckFolders() {
    return {userDeckFolder([](const char* name) { return std::getenv(name); }, onWindows),
            shippedDeckFolder};
}

std::string startFolder() {
    const char* start = std::getenv("KRAXELBRETT_START_FOLDER");
    if (start != nullptr && *start != '\0') {
        return start;
    }
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

std::optional<FieldTexts> loadChosenDeck(const std::string& deck, const std::string& start,
                                         std::string& problems, std::string& notes,
                                         std::string* language, const std::locale& told) {
    namespace fs = std::filesystem;
    const DeckFolders folders = gameDeckFolders();
    std::string path;
    if (namesDeckFile(deck)) {
        path = fs::path(deck).is_relative() && !start.empty() ? (fs::path(start) / deck).string()
                                                              : deck;
    } else {
        path = findDeck(deck, folders);
        if (path.empty()) {
            problems =
                phrase(told,
                       boost::locale::translate(
                           "kraxelbrett: {1}: no deck of that name; kraxelbrett --list-decks "
                           "lists them\n"),
                       deck);
            return std::nullopt;
        }
    }

    const TextMeasure measure(fontPath);
    std::vector<DeckProblem> found;
    const FieldTexts texts = loadDeck(
        path, [&folders](const std::string& name) { return findDeck(name, folders); }, measure,
        found, told, language);
    for (const DeckProblem& problem : found) {
        (problem.note ? notes : problems) += describe(problem, told);
    }
    if (!problems.empty()) {
        return std::nullopt;
    }
    return texts;
}

std::string gameStateFile() {
    return stateFilePath([](const char* name) { return std::getenv(name); }, onWindows);
}

std::string deckToKeep(const std::string& deck, const std::string& start) {
    if (deck.empty() || !namesDeckFile(deck)) {
        return deck;
    }
    std::error_code error;
    const std::filesystem::path whole =
        std::filesystem::absolute(std::filesystem::path(start) / deck, error);
    return error ? deck : whole.lexically_normal().string();
}

#include "core/Assets.hpp"

#include "board/RegularFile.hpp"
#include "language/Phrase.hpp"

#include <filesystem>
#include <system_error>

bool assetReadable(const std::string& path, std::ostream& messages, const std::locale& told) {
    const std::string why =
        whyNotARegularFile(path, boost::locale::translate("a folder, not a file").str(told), told);
    if (!why.empty()) {
        messages << phrase(
            told, boost::locale::translate("kraxelbrett: {1}: {2}; the game goes on without it\n"),
            path, why);
    }
    return why.empty();
}

std::string gameFolder(const std::string& working, const std::string& binary) {
    namespace fs = std::filesystem;
    std::error_code error;
    const auto hasAssets = [&error](const fs::path& folder) {
        return !folder.empty() && fs::exists(folder / "assets", error);
    };
    const fs::path beside = fs::path(binary).parent_path();
    return !hasAssets(working) && hasAssets(beside) ? beside.string() : working;
}

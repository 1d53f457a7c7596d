#include "core/Assets.hpp"

#include "board/RegularFile.hpp"

#include <filesystem>
#include <system_error>

bool assetReadable(const std::string& path, std::ostream& messages) {
    const std::string why = whyNotARegularFile(path, "a folder, not a file");
    if (!why.empty()) {
        messages << "kraxelbrett: " << path << ": " << why << "; the game goes on without it\n";
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

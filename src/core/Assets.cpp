#include "core/Assets.hpp"

#include "board/RegularFile.hpp"

bool assetReadable(const std::string& path, std::ostream& messages) {
    const std::string why = whyNotARegularFile(path, "a folder, not a file");
    if (!why.empty()) {
        messages << "kraxelbrett: " << path << ": " << why << "; the game goes on without it\n";
    }
    return why.empty();
}

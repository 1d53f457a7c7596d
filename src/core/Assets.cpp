#include "core/Assets.hpp"

#include <filesystem>
#include <system_error>

bool assetReadable(const std::string& path, std::ostream& messages) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_regular_file(status)) {
        return true;
    }

    std::string what = "not a regular file";
    if (status.type() == fs::file_type::not_found) {
        what = "no such file";
    } else if (error) {
        what = error.message();
    } else if (fs::is_directory(status)) {
        what = "a folder, not a file";
    }
    messages << "kraxelbrett: " << path << ": " << what << "; the game goes on without it\n";
    return false;
}

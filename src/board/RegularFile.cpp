#include "board/RegularFile.hpp"

#include <filesystem>
#include <system_error>

std::string whyNotARegularFile(const std::string& path, const std::string& aFolder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_regular_file(status)) {
        return {};
    }
    if (status.type() == fs::file_type::not_found) {
        return "no such file";
    }
    if (fs::is_directory(status)) {
        return aFolder;
    }
    return error ? error.message() : "not a regular file";
}

#include "board/RegularFile.hpp"

#include <boost/locale/message.hpp>

#include <filesystem>
#include <system_error>

std::string whyNotARegularFile(const std::string& path, const std::string& aFolder,
                               const std::locale& words) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_regular_file(status)) {
        return {};
    }
    if (status.type() == fs::file_type::not_found) {
        return boost::locale::translate("no such file").str(words);
    }
    if (fs::is_directory(status)) {
        return aFolder;
    }
    // The system's own reason stays as the system words it.
    return error ? error.message() : boost::locale::translate("not a regular file").str(words);
}

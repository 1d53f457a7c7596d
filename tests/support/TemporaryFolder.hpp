#pragma once

#include <filesystem>
#include <string>

#include <unistd.h>

/// A folder of one test's own, named by the prefix and the process, gone afterwards.
struct TemporaryFolder {
    explicit TemporaryFolder(const std::string& prefix)
        : path(std::filesystem::temp_directory_path() / (prefix + std::to_string(getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path path;
};

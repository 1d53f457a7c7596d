#pragma once

#include <string_view>
#include <vector>

/// One file of the phones' page, built into the game.
struct PageFile {
    /// Its name below the link's key: "" for the page itself, "app.js", "app.css".
    std::string_view name;
    std::string_view contentType;
    std::string_view body;
};

/// The phones' page with its script and style: nothing is read from disk on a request.
const std::vector<PageFile>& phonePageFiles();

#pragma once

#include <locale>
#include <string>
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

/// One file of the page as it is served: with its texts in the game's language.
struct ServedFile {
    std::string name;
    std::string contentType;
    std::string body;
};

/// The page's files in the language of `words`, so that a phone never shows another while it
/// connects: the HTML's `{{text}}`, its `lang`, and the script's `_('text')` and
/// `n_('one', 'more', count)` looked up in the game's catalogue.
std::vector<ServedFile> pageIn(const std::locale& words);

/// The texts of one of the page's files put into the language, as `pageIn` does.
std::string translatePage(std::string_view file, const std::locale& words);

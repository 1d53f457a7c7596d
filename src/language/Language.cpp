#include "language/Language.hpp"

#include <boost/locale/gnu_gettext.hpp>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string uppered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// gettext takes "C", "POSIX" and "C.UTF-8" alike for the untranslated locale.
bool isC(const std::string& locale) {
    return locale == "C" || locale == "POSIX" || locale.rfind("C.", 0) == 0;
}
} // namespace

std::vector<std::string> catalogueFolders() {
    std::vector<std::string> folders{"locale"};
#ifdef KRAXELBRETT_LOCALE_DIR
    folders.emplace_back(KRAXELBRETT_LOCALE_DIR);
#endif
    return folders;
}

LanguageName parseLanguage(const std::string& name) {
    const std::string tag = name.substr(0, name.find_first_of(".@"));
    const std::size_t cut = tag.find_first_of("_-");
    LanguageName parsed{lowered(tag.substr(0, cut)), ""};
    if (cut != std::string::npos) {
        // A region is two letters or three digits; a script ("sr-Latn") is none.
        const std::string next = tag.substr(cut + 1, tag.find_first_of("_-", cut + 1) - cut - 1);
        if (next.size() == 2 ||
            (next.size() == 3 && std::isdigit(static_cast<unsigned char>(next[0])))) {
            parsed.region = uppered(next);
        }
    }
    return parsed;
}

bool hasCatalogue(const std::string& name, const std::vector<std::string>& folders) {
    namespace fs = std::filesystem;
    const LanguageName parsed = parseLanguage(name);
    if (parsed.language.empty()) {
        return false;
    }
    std::vector<std::string> candidates{parsed.language};
    if (!parsed.region.empty()) {
        candidates.insert(candidates.begin(), parsed.language + "_" + parsed.region);
    }
    std::error_code error;
    for (const std::string& folder : folders) {
        for (const std::string& candidate : candidates) {
            const fs::path file = fs::path(folder) / candidate / "LC_MESSAGES" /
                                  (std::string(catalogueDomain) + ".mo");
            if (fs::is_regular_file(file, error)) {
                return true;
            }
        }
    }
    return false;
}

std::locale wordsIn(const std::string& name, const std::vector<std::string>& folders) {
    namespace gettext = boost::locale::gnu_gettext;
    const LanguageName parsed = parseLanguage(name);
    gettext::messages_info info;
    info.language = parsed.language;
    info.country = parsed.region;
    info.encoding = "UTF-8";
    info.paths = folders;
    info.domains = {gettext::messages_info::domain(catalogueDomain)};
    try {
        return {std::locale::classic(), gettext::create_messages_facet<char>(info)};
    } catch (const std::exception&) {
        // A broken catalogue costs its language, not the game.
        return std::locale::classic();
    }
}

std::string desktopLanguage(const std::function<const char*(const char*)>& variable,
                            const std::function<bool(const std::string&)>& hasCatalogue) {
    const auto value = [&variable](const char* name) {
        const char* set = variable(name);
        return std::string(set != nullptr ? set : "");
    };
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = value(name);
        if (!locale.empty()) {
            break;
        }
    }
    if (locale.empty() || isC(locale)) {
        return {};
    }
    std::vector<std::string> wanted;
    std::istringstream list(value("LANGUAGE"));
    for (std::string entry; std::getline(list, entry, ':');) {
        if (!entry.empty()) {
            wanted.push_back(entry);
        }
    }
    wanted.push_back(locale);
    for (const std::string& name : wanted) {
        const std::string language = parseLanguage(name).language;
        if (language == "en") {
            return {};
        }
        if (hasCatalogue(name)) {
            return name;
        }
    }
    return {};
}

std::locale terminalWords() {
    const std::vector<std::string> folders = catalogueFolders();
#ifdef _WIN32
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    std::string language;
    if (GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) > 0) {
        for (const wchar_t* c = name; *c != L'\0' && *c < 128; ++c) {
            language += static_cast<char>(*c);
        }
    }
#else
    const std::string language = desktopLanguage(
        [](const char* name) { return std::getenv(name); },
        [&folders](const std::string& name) { return hasCatalogue(name, folders); });
#endif
    return language.empty() ? std::locale::classic() : wordsIn(language, folders);
}

std::locale tvWords(const std::string& deckLanguage) {
    return wordsIn(deckLanguage.empty() ? "de" : deckLanguage, catalogueFolders());
}

#include "phones/PhonePage.hpp"

#include "players/Standing.hpp"

#include <boost/locale/message.hpp>
#include <nlohmann/json.hpp>

#include <regex>

namespace {
namespace locale = boost::locale;

// Counts on the page (turns to sit out) stay below this: their forms are all sent along.
constexpr int largestCount = maxPlayers;

std::string escapedForHtml(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string quotedForScript(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

template <typename Replace>
std::string replaceAll(const std::string& text, const std::regex& pattern, Replace replace) {
    std::string result;
    auto last = text.cbegin();
    for (std::sregex_iterator at(text.begin(), text.end(), pattern), end; at != end; ++at) {
        result.append(last, (*at)[0].first);
        result += replace(*at);
        last = (*at)[0].second;
    }
    result.append(last, text.cend());
    return result;
}
} // namespace

std::string translatePage(std::string_view file, const std::locale& words) {
    // The page's texts are plain: no quote or backslash inside them, no brace in the HTML's.
    static const std::regex markup(R"(\{\{([^{}]+)\}\})");
    static const std::regex script(R"(\b_\('([^'\\]*)'\))");
    static const std::regex plural(R"(\bn_\('([^'\\]*)', '([^'\\]*)')");
    static const std::regex language(R"(<html lang="en">)");

    std::string text(file);
    text = replaceAll(text, markup, [&words](const std::smatch& found) {
        return escapedForHtml(locale::translate(found[1].str()).str(words));
    });
    text = replaceAll(text, script, [&words](const std::smatch& found) {
        return "_(" + quotedForScript(locale::translate(found[1].str()).str(words)) + ")";
    });
    text = replaceAll(text, plural, [&words](const std::smatch& found) {
        std::string forms;
        for (int count = 0; count <= largestCount; ++count) {
            forms += (count == 0 ? "" : ", ") +
                     quotedForScript(
                         locale::translate(found[1].str(), found[2].str(), count).str(words));
        }
        return "n_([" + forms + "]";
    });
    // TRANSLATORS: the language's tag (BCP 47), as the phones' page names its language.
    const std::string tag = locale::translate("language tag", "en").str(words);
    return replaceAll(text, language, [&tag](const std::smatch&) {
        return "<html lang=\"" + escapedForHtml(tag) + "\">";
    });
}

std::vector<ServedFile> pageIn(const std::locale& words) {
    std::vector<ServedFile> served;
    for (const PageFile& file : phonePageFiles()) {
        served.push_back({std::string(file.name), std::string(file.contentType),
                          translatePage(file.body, words)});
    }
    return served;
}

#include "language/Language.hpp"
#include "phones/PhonePage.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <boost/locale/message.hpp>

#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {
// The catalogues the build made beside the game: German, and the pseudo-language that
// brackets every message.
const std::vector<std::string> built{"locale"};
} // namespace

// gettext's order: LANGUAGE's list unless the locale is C, then LC_ALL, LC_MESSAGES, LANG; the
// first that is English or has a catalogue.
TEST(Language, TheTerminalSpeaksTheDesktopsLanguageAsGettextChoosesIt) {
    struct Case {
        std::map<std::string, std::string> set;
        std::string language;
    };
    const std::vector<Case> cases{
        {{}, ""},
        {{{"LANG", "de_DE.UTF-8"}}, "de_DE.UTF-8"},
        {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "de"}}, ""},
        {{{"LANGUAGE", "de"}}, ""},
        {{{"LANG", "en_GB.UTF-8"}, {"LANGUAGE", "de:en"}}, "de"},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "en:de"}}, ""},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:"}}, "de_DE.UTF-8"},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "C"}}, ""},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "de_AT.UTF-8@euro"}}, "de_AT.UTF-8@euro"},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "POSIX"}}, ""},
        {{{"LANG", "fr_FR.UTF-8"}}, ""},
    };
    for (const Case& c : cases) {
        const auto variable = [&c](const char* name) {
            const auto found = c.set.find(name);
            return found == c.set.end() ? nullptr : found->second.c_str();
        };
        const auto has = [](const std::string& name) { return hasCatalogue(name, built); };
        const auto language = desktopLanguage(variable, has);
        EXPECT_EQ(language, c.language) << (c.set.empty() ? "" : c.set.begin()->second);
    }
}

// A deck's tag or a locale's name finds the catalogue of its region, else of its language,
// else none: then the texts stay English.
TEST(Language, ATagFindsItsLanguagesCatalogueOrEnglish) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"de", "Das Podest"},         {"de-AT", "Das Podest"}, {"DE_ch.utf8", "Das Podest"},
        {"de-Latn-DE", "Das Podest"}, {"en", "The podium"},    {"fr", "The podium"},
        {"", "The podium"},           {"qps", "[The podium]"}};
    for (const auto& [tag, podium] : cases) {
        EXPECT_EQ(boost::locale::translate("The podium").str(wordsIn(tag, built)), podium) << tag;
        EXPECT_EQ(hasCatalogue(tag, built), podium != "The podium") << tag;
    }
    EXPECT_EQ(boost::locale::translate("The podium").str(wordsIn("de", {"nowhere"})), "The podium");
    // A catalogue that is no catalogue (cut short, garbage, empty) costs its language only.
    const TemporaryFolder broken("kraxelbrett-catalogue-");
    std::filesystem::create_directories(broken.path / "de" / "LC_MESSAGES");
    for (const std::string& bytes :
         {std::string("\xde\x12\x04\x95\0\0\0\0\xff\xff\xff\x7f\x1c\0\0\0", 16),
          std::string("not a catalogue"), std::string()}) {
        std::ofstream(broken.path / "de" / "LC_MESSAGES" / "kraxelbrett.mo") << bytes;
        const std::locale words = wordsIn("de", {broken.path.string()});
        EXPECT_EQ(boost::locale::translate("The podium").str(words), "The podium");
    }
}

// The page is served in the game's language, whole: under the pseudo-language every text of its
// HTML and every text its script shows is a message of the catalogue, and its language is set.
TEST(Language, ThePagesEveryTextIsLookedUp) {
    // A text of the HTML, a text of the script, or a mark left unlooked-up.
    const std::regex text(R"re(>\s*([^<]*?)\s*<|\b_\("([^"]*)"\)|\{\{|\b_\('|\bn_\(')re");
    for (const ServedFile& file : pageIn(wordsIn("qps", built))) {
        for (std::sregex_iterator at(file.body.begin(), file.body.end(), text), end; at != end;
             ++at) {
            if ((*at)[1].matched && !file.name.empty()) {
                continue; // a script's or a style's > and < enclose no text
            }
            const std::string said = (*at)[1].matched ? (*at)[1].str() : (*at)[2].str();
            EXPECT_TRUE((*at)[1].matched || (*at)[2].matched) << (*at)[0];
            EXPECT_TRUE(said.empty() || (said.front() == '[' && said.back() == ']')) << said;
        }
        EXPECT_TRUE(!file.name.empty() ||
                    file.body.find("<html lang=\"[en]\">") != std::string::npos);
    }
    const std::string script =
        translatePage("n_('One {1}', 'Many {1}', count)", wordsIn("de", built));
    EXPECT_EQ(script,
              "n_([\"Many {1}\", \"One {1}\", \"Many {1}\", \"Many {1}\", \"Many {1}\", "
              "\"Many {1}\", \"Many {1}\", \"Many {1}\", \"Many {1}\", \"Many {1}\"], count)");
    EXPECT_EQ(translatePage("<p>{{A < B & \"C\"}}</p><html lang=\"en\">", wordsIn("de", built)),
              "<p>A &lt; B &amp; &quot;C&quot;</p><html lang=\"de\">");
}

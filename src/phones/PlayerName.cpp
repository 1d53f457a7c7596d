#include "phones/PlayerName.hpp"

#include "language/Phrase.hpp"

#include <boost/locale/message.hpp>

#include <SFML/System/String.hpp>

#include <algorithm>
#include <iterator>

namespace {
bool isSpace(sf::Uint32 codePoint) {
    return codePoint == ' ' || codePoint == 0xa0 || codePoint == 0x3000 ||
           (codePoint >= 0x2000 && codePoint <= 0x200b);
}
} // namespace

NameCheck checkName(const std::string& utf8, const std::function<bool(sf::Uint32)>& drawable,
                    const std::locale& words) {
    namespace locale = boost::locale;
    const sf::String decoded = sf::String::fromUtf8(utf8.begin(), utf8.end());
    const auto first = std::find_if_not(decoded.begin(), decoded.end(), isSpace);
    const auto last = std::find_if_not(std::make_reverse_iterator(decoded.end()),
                                       std::make_reverse_iterator(first), isSpace)
                          .base();
    const auto length = static_cast<std::size_t>(std::distance(first, last));
    if (length == 0) {
        return {{}, locale::translate("A name needs at least one character.").str(words)};
    }
    if (length > longestName) {
        return {
            {},
            phrase(words, locale::translate("A name has at most {1} characters."), longestName)};
    }

    sf::String undrawable;
    for (auto at = first; at != last; ++at) {
        if (*at != ' ' && !drawable(*at) &&
            undrawable.find(sf::String(*at)) == sf::String::InvalidPos) {
            undrawable += *at;
        }
    }
    if (!undrawable.isEmpty()) {
        const auto bytes = undrawable.toUtf8();
        return {{},
                phrase(words, locale::translate("The game cannot show {1}."),
                       std::string(bytes.begin(), bytes.end()))};
    }
    const auto bytes = sf::String::fromUtf32(first, last).toUtf8();
    return {std::string(bytes.begin(), bytes.end()), {}};
}

#pragma once

#include <boost/locale/format.hpp>
#include <boost/locale/message.hpp>

#include <locale>
#include <string>

/// A message of the game's in the language of `words`, with its {1}, {2}... filled by the
/// values in order: texts as they are, numbers as the classic locale writes them.
template <typename... Values>
std::string phrase(const std::locale& words, const boost::locale::message& what,
                   const Values&... values) {
    boost::locale::format text(what);
    (static_cast<void>(text % values), ...);
    return text.str(words);
}

#include "board/TextEncoding.hpp"

sf::String toDisplayString(const std::string& utf8) {
    return sf::String::fromUtf8(utf8.begin(), utf8.end());
}

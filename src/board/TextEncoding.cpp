#include "board/TextEncoding.hpp"

sf::String toDisplayString(const std::string& bytes) {
    std::basic_string<sf::Uint32> codePoints;
    codePoints.reserve(bytes.size());
    for (const char byte : bytes) {
        codePoints.push_back(static_cast<unsigned char>(byte));
    }
    return {codePoints};
}

#include "board/Die.hpp"

sf::IntRect dieFaceRect(int face) {
    return {dieFaceSize * face, 0, dieFaceSize, dieFaceSize};
}

// Draws the die image the game reads: six faces in one row, values 1 to 6 from left to
// right, each on a 9 x 9 cell; and, when asked, the game's 64 x 64 icon, the five enlarged. The
// game shows it twenty times enlarged without smoothing, so every texel is a deliberate block: a
// white face with a dark rim, rounded by leaving the corners clear, and one-texel pips on a 3 x 3
// grid.

#include <SFML/Graphics/Image.hpp>

#include <cstdio>

namespace {
const int cell = 9;
const int faces = 6;
const sf::Color face{250, 250, 245};
const sf::Color rim{40, 40, 40};
const sf::Color pip{0, 0, 0};

struct Pip {
    int x;
    int y;
};

// Pip places on the face: left, middle and right columns at 2, 4 and 6, likewise the rows.
const Pip topLeft{2, 2}, topRight{6, 2}, middleLeft{2, 4}, centre{4, 4}, middleRight{6, 4},
    bottomLeft{2, 6}, bottomRight{6, 6};

void drawFace(sf::Image& image, int value) {
    const int left = cell * (value - 1);
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            const bool edgeX = x == 0 || x == cell - 1;
            const bool edgeY = y == 0 || y == cell - 1;
            if (edgeX && edgeY) {
                continue;
            }
            image.setPixel(left + x, y, edgeX || edgeY ? rim : face);
        }
    }

    auto put = [&](Pip p) { image.setPixel(left + p.x, p.y, pip); };
    if (value % 2 == 1) {
        put(centre);
    }
    if (value >= 2) {
        put(topRight);
        put(bottomLeft);
    }
    if (value >= 4) {
        put(topLeft);
        put(bottomRight);
    }
    if (value == 6) {
        put(middleLeft);
        put(middleRight);
    }
}

bool saveIcon(const sf::Image& dice, const char* path) {
    const int iconSize = 64;
    const int scale = iconSize / cell;
    const int face = 5;
    sf::Image icon;
    icon.create(iconSize, iconSize, sf::Color::Transparent);
    for (int y = 0; y < cell * scale; ++y) {
        for (int x = 0; x < cell * scale; ++x) {
            icon.setPixel(x, y, dice.getPixel(cell * (face - 1) + x / scale, y / scale));
        }
    }
    return icon.saveToFile(path);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_dice DICE.png [ICON.png]\n");
        return 2;
    }
    sf::Image image;
    image.create(cell * faces, cell, sf::Color::Transparent);
    for (int value = 1; value <= faces; ++value) {
        drawFace(image, value);
    }
    const bool saved = image.saveToFile(argv[1]) && (argc == 2 || saveIcon(image, argv[2]));
    return saved ? 0 : 1;
}

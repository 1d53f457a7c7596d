#pragma once

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <locale>
#include <string>
#include <vector>

/// Character size of the invitation's lines, in layout pixels: read from a sofa.
constexpr unsigned int inviteTextSize = 28;

/// Where the invitation is drawn: the free area below the ninth row, in layout pixels.
const sf::FloatRect inviteArea{1100.f, 890.f, 820.f, 190.f};

/// A QR code's modules, row by row, dark ones true; empty where the text does not fit one.
std::vector<std::vector<bool>> qrModules(const std::string& text);

/// The side of one module in layout pixels, for a code of `modules` a side with its quiet
/// zone in `room` pixels: whole pixels, so that every module is as sharp as the next.
int modulePixels(int modules, float room);

/// The invitation on the TV below the players' rows: a QR code of the link and the link as
/// text, for each address phones can use; or, with none, a line saying phones need a network.
struct PhoneInvite {
    struct Invitation {
        sf::RectangleShape quietZone;
        sf::VertexArray code{sf::Triangles};
        /// The link's address and its key, one line each.
        sf::Text address;
        sf::Text key;
    };

    /// Builds one invitation per link; the texts use the font, which must outlive them.
    void build(const std::vector<std::string>& links, const sf::Font& font,
               const std::locale& words);

    /// Draws the invitation of that turn (they take turns when there are several).
    void draw(sf::RenderTarget& target, std::size_t turn) const;

    std::vector<Invitation> invitations;
    /// Shown where there is no invitation.
    sf::Text noNetwork;
};

#pragma once

#include "phones/QrCode.hpp"

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <functional>
#include <locale>
#include <string>
#include <vector>

/// Character size of the invitation's lines, in layout pixels: read from a sofa.
constexpr unsigned int inviteTextSize = 28;

/// Where the invitation is drawn: the free area below the ninth row, in layout pixels.
const sf::FloatRect inviteArea{1100.f, 890.f, 820.f, 190.f};

/// Where the invitation stands large until the first roll: over the board, in layout pixels.
const sf::FloatRect lobbyArea{50.f, 10.f, 990.f, 990.f};
/// Character sizes in the lobby: its heading and link, and the names of those who joined.
constexpr unsigned int lobbyTextSize = 40;
constexpr unsigned int lobbyNameSize = 28;

/// The side of one module in layout pixels, for a code of `modules` a side with its quiet
/// zone in `room` pixels: whole pixels, so that every module is as sharp as the next.
int modulePixels(int modules, float room);

/// A player as the lobby shows who has joined: a phone's player by name, a keyboard player
/// by colour alone.
struct JoinedPlayer {
    /// UTF-8; empty for a keyboard player.
    std::string name;
    sf::Color colour;
};

/// The invitation on the TV: a QR code of the link and the link as text, for each address
/// phones can use, below the players' rows, or large over the board with who has joined; or,
/// with no address, a line saying phones need a network.
struct PhoneInvite {
    /// A QR code with its quiet zone.
    struct Code {
        sf::RectangleShape quietZone;
        sf::VertexArray modules{sf::Triangles};
    };
    struct Invitation {
        Code code;
        /// The link's address and its key, one line each.
        sf::Text address;
        sf::Text key;
        /// The same, large.
        Code largeCode;
        sf::Text largeAddress;
        sf::Text largeKey;
    };

    /// Builds one invitation per link; the texts use the font, which must outlive them.
    void build(const std::vector<std::string>& links, const sf::Font& font,
               const std::locale& words);

    /// Shows these players as the ones who have joined, in the lobby.
    void showJoined(const std::vector<JoinedPlayer>& players, const sf::Font& font);

    /// Draws the invitation of that turn (they take turns when there are several).
    void draw(sf::RenderTarget& target, std::size_t turn) const;
    /// Draws it large, over the board, with who has joined.
    void drawLarge(sf::RenderTarget& target, std::size_t turn) const;

    /// Each text drawn, with its character size in layout pixels, to be fitted to the screen.
    void forEachText(const std::function<void(sf::Text&, unsigned int)>& fit);

    std::vector<Invitation> invitations;
    /// Shown where there is no invitation.
    sf::Text noNetwork;
    sf::RectangleShape lobbyPanel;
    sf::Text heading;
    std::vector<sf::RectangleShape> joinedColours;
    std::vector<sf::Text> joinedNames;
};

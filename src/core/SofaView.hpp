#pragma once

#include "core/ScreenFit.hpp"
#include "players/Player.hpp"
#include "players/TokenMark.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/String.hpp>

#include <functional>
#include <locale>
#include <string>
#include <vector>

/// The part of a 1920 x 1080 layout that every TV shows whole: its inner 90 %.
const sf::FloatRect tvSafeArea{96.f, 54.f, 1728.f, 972.f};

/// Where the podium stands over the board, in layout pixels.
const sf::FloatRect podiumArea{120.f, 70.f, 860.f, 900.f};

/// Character size of the task card's text, in layout pixels: read from three metres.
constexpr unsigned int cardTextSize = 48;
/// The smallest a card's text may shrink to for a long task.
constexpr unsigned int smallestCardTextSize = 32;
/// The smallest a row's task may shrink to so that it fits its row.
constexpr unsigned int smallestRowTextSize = 12;

/// The width a text takes on one line, in layout pixels.
using TextWidth = std::function<float(const sf::String& line)>;

/// The words of the text (its own line breaks taken as spaces) in lines of at most `width`;
/// a word wider than that stands on a line of its own.
sf::String wrapToWidth(const sf::String& text, float width, const TextWidth& measure);

/// The card's top: above on the board, or below where the field to keep in sight is there.
float cardTop(float cardHeight, const sf::FloatRect& keepInSight);

/// A place on the podium, 1 to 9, as the language writes it: "1st", "2nd", "3rd", "4th", or
/// "1.", "2." and so on.
std::string placeName(int place, const std::locale& words);

/// The sofa view's own drawing: the task of the field a roller reached, large, on a card in
/// their colour, and the podium when the round is over. Its texts use the game's font, which
/// must outlive it.
class SofaView {
public:
    /// The language its texts are in; English where none is given.
    void speak(const std::locale& language) { words = language; }

    /// Shows the roller's task on a card that keeps the field in sight; the first to reach
    /// the goal is celebrated on it.
    void showCard(const sf::String& task, const std::string& name, int slot,
                  const sf::FloatRect& field, bool firstHome, const sf::Font& font,
                  const ScreenFit& fit);
    void hideCard();
    bool cardShown() const { return cardUp; }

    /// Shows the players in the order they reached the goal, by index.
    void showPodium(const std::vector<Player>& players, const std::vector<int>& order,
                    const sf::Font& font, const ScreenFit& fit);
    void hidePodium();
    bool podiumShown() const { return podiumUp; }

    void draw(sf::RenderTarget& target) const;

    /// The card's and the podium's texts, to check that they read from the sofa.
    const std::vector<sf::Text>& cardTexts() const { return cardLines; }
    const std::vector<sf::Text>& podiumLines() const { return podiumTexts; }

private:
    std::locale words = std::locale::classic();

    void showFirstThree(const std::vector<Player>& players, const std::vector<int>& order,
                        const sf::Font& font, const ScreenFit& fit);
    void listTheRest(const std::vector<Player>& players, const std::vector<int>& order,
                     const sf::Font& font, const ScreenFit& fit);

    bool cardUp = false;
    sf::RectangleShape card;
    std::vector<sf::Text> cardLines;

    bool podiumUp = false;
    sf::RectangleShape podiumBack;
    std::vector<sf::RectangleShape> blocks;
    std::vector<sf::Text> podiumTexts;
};

/// Puts the mark in the middle of the token of the radius whose top-left corner is `corner`,
/// as large as stays inside it, made at the size it is shown and on whole pixels.
void fitMark(sf::Text& mark, sf::Vector2f corner, float radius, const ScreenFit& fit);

/// Fits a row's task into its row, for the sofa view: at the row's size where it fits as it
/// is, else wrapped to the room there is, else smaller, down to `smallestRowTextSize`.
void fitTaskToRow(Player& player, const sf::String& task, const ScreenFit& fit);

#include "core/SofaView.hpp"

#include "board/TextEncoding.hpp"
#include "language/Phrase.hpp"
#include "players/StatusPanel.hpp"

#include <boost/locale/message.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace {
const float cardLeft = 105.f;
const float cardWidth = 880.f;
const float cardPadding = 24.f;
/// The card keeps this far from the board's edges, and from the field it keeps in sight.
const float cardMargin = 30.f;
const float cardOutline = 6.f;
const sf::Color cardEdge{20, 20, 20};
const sf::Color goldEdge{255, 200, 0};
/// A card of more lines than this would cover the field it keeps in sight: it shrinks.
const int cardLinesAtMost = 5;

/// Room left of the screen's right edge: the rows run on beyond it.
const float rowRightMargin = 20.f;
/// Room below a row's text before the gap to the next row.
const float rowBottomMargin = 3.f;

/// A mark's character size per layout pixel of its token's radius, before a long mark shrinks.
const float markSizeShare = 1.4f;
const unsigned int smallestMarkSize = 8;
/// Room between a mark's glyphs and its token's edge.
const float markMargin = 2.f;

const sf::Color podiumBackground{25, 25, 35};
const float blockWidth = 230.f;
const float blockGap = 20.f;
const std::array<float, 3> blockHeights{330.f, 240.f, 170.f};
/// Left to right: second, first, third, as podiums stand.
const std::array<int, 3> blockOrder{1, 0, 2};
const unsigned int podiumTitleSize = 56;
const unsigned int restTextSize = 32;
/// Where the podium's blocks stand.
const float podiumGround = podiumArea.top + 620.f;

float lineWidth(const sf::Text& text, const sf::String& line) {
    sf::Text measured(text);
    measured.setString(line);
    measured.setScale(1.f, 1.f);
    measured.setOrigin(0.f, 0.f);
    return measured.getLocalBounds().width;
}

sf::Text makeText(const sf::String& string, const sf::Font& font, unsigned int size,
                  sf::Vector2f place, sf::Color colour, const ScreenFit& fit) {
    sf::Text text(string, font, size);
    text.setFillColor(colour);
    text.setPosition(place);
    fitText(text, size, fit);
    return text;
}
} // namespace

sf::String wrapToWidth(const sf::String& text, float width, const TextWidth& measure) {
    sf::String wrapped;
    sf::String line;
    sf::String word;
    const auto endWord = [&]() {
        if (word.isEmpty()) {
            return;
        }
        const sf::String longer = line.isEmpty() ? word : line + " " + word;
        if (line.isEmpty() || measure(longer) <= width) {
            line = longer;
        } else {
            wrapped += wrapped.isEmpty() ? line : "\n" + line;
            line = word;
        }
        word.clear();
    };
    for (const sf::Uint32 character : text) {
        if (character == ' ' || character == '\n' || character == '\t') {
            endWord();
        } else {
            word += character;
        }
    }
    endWord();
    if (!line.isEmpty()) {
        wrapped += wrapped.isEmpty() ? line : "\n" + line;
    }
    return wrapped;
}

float cardTop(float cardHeight, const sf::FloatRect& keepInSight) {
    const float above = tvSafeArea.top + cardMargin / 2.f;
    const sf::FloatRect upper(cardLeft, above, cardWidth, cardHeight + cardMargin);
    if (!upper.intersects(keepInSight)) {
        return above;
    }
    return tvSafeArea.top + tvSafeArea.height - cardMargin / 2.f - cardHeight;
}

std::string placeName(int place, const std::locale& words) {
    namespace locale = boost::locale;
    // Nine players at most: English needs no ordinal beyond these.
    switch (place) {
    case 1: return locale::translate("1st").str(words);
    case 2: return locale::translate("2nd").str(words);
    case 3: return locale::translate("3rd").str(words);
    default: return phrase(words, locale::translate("{1}th"), place);
    }
}

void SofaView::showCard(const sf::String& taskText, const std::string& name, int slot,
                        const sf::FloatRect& field, bool firstHome, const sf::Font& font,
                        const ScreenFit& fit) {
    const sf::Color colour = slotColour(slot);
    const sf::Color ink = textColourOn(colour);
    const float textWidth = cardWidth - 2.f * cardPadding;

    // Largest first, as long as the task stays within the lines a card may have.
    unsigned int size = cardTextSize;
    sf::String task;
    for (;; --size) {
        sf::Text measure("", font, size);
        task = wrapToWidth(taskText, textWidth,
                           [&measure](const sf::String& line) { return lineWidth(measure, line); });
        const auto lines = std::count(task.begin(), task.end(), sf::Uint32{'\n'}) + 1;
        if (lines <= cardLinesAtMost || size == smallestCardTextSize) {
            break;
        }
    }

    cardLines.clear();
    float y = cardPadding;
    const float lineSpacing = font.getLineSpacing(size);
    std::vector<std::pair<sf::String, bool>> lines;
    if (firstHome) {
        namespace locale = boost::locale;
        lines.emplace_back(
            toDisplayString(name.empty() ? locale::translate("First at the goal!").str(words)
                                         : phrase(words, locale::translate("{1} is first!"), name)),
            true);
    } else if (!name.empty()) {
        lines.emplace_back(toDisplayString(name), true);
    }
    lines.emplace_back(task, false);
    std::vector<float> tops;
    for (const auto& [string, bold] : lines) {
        tops.push_back(y);
        const auto count = std::count(string.begin(), string.end(), sf::Uint32{'\n'}) + 1;
        y += lineSpacing * static_cast<float>(count) + (bold ? cardPadding / 2.f : 0.f);
    }
    const float height = y + cardPadding;
    const float top = cardTop(height, field);

    card.setSize({cardWidth, height});
    card.setPosition(cardLeft, top);
    card.setFillColor(colour);
    card.setOutlineColor(firstHome ? goldEdge : cardEdge);
    card.setOutlineThickness(firstHome ? 2.f * cardOutline : cardOutline);
    for (std::size_t line = 0; line < lines.size(); ++line) {
        sf::Text text = makeText(lines[line].first, font, size,
                                 {cardLeft + cardPadding, top + tops[line]}, ink, fit);
        if (lines[line].second) {
            text.setStyle(sf::Text::Bold);
        }
        cardLines.push_back(text);
    }
    cardUp = true;
}

void SofaView::hideCard() {
    cardUp = false;
}

void SofaView::showPodium(const std::vector<Player>& players, const std::vector<int>& order,
                          const sf::Font& font, const ScreenFit& fit) {
    podiumBack.setPosition(podiumArea.left, podiumArea.top);
    podiumBack.setSize({podiumArea.width, podiumArea.height});
    podiumBack.setFillColor(podiumBackground);
    podiumBack.setOutlineColor(goldEdge);
    podiumBack.setOutlineThickness(cardOutline);
    blocks.clear();
    podiumTexts.clear();

    podiumTexts.push_back(
        makeText(toDisplayString(boost::locale::translate("The podium").str(words)), font,
                 podiumTitleSize, {podiumArea.left + 40.f, podiumArea.top + 30.f}, goldEdge, fit));
    showFirstThree(players, order, font, fit);
    listTheRest(players, order, font, fit);
    podiumTexts.push_back(makeText(
        toDisplayString(boost::locale::translate("N: another round      Escape: end").str(words)),
        font, restTextSize, {podiumArea.left + 40.f, podiumArea.top + podiumArea.height - 70.f},
        goldEdge, fit));
    podiumUp = true;
}

void SofaView::showFirstThree(const std::vector<Player>& players, const std::vector<int>& order,
                              const sf::Font& font, const ScreenFit& fit) {
    const float centre = podiumArea.left + podiumArea.width / 2.f;
    const float left = centre - 1.5f * blockWidth - blockGap;
    for (std::size_t column = 0; column < blockOrder.size(); ++column) {
        const auto place = static_cast<std::size_t>(blockOrder[column]);
        if (place >= order.size()) {
            continue;
        }
        const int slot = order[place];
        const sf::Color colour = slotColour(slot);
        const float x = left + static_cast<float>(column) * (blockWidth + blockGap);
        sf::RectangleShape block({blockWidth, blockHeights[place]});
        block.setPosition(x, podiumGround - blockHeights[place]);
        block.setFillColor(colour);
        blocks.push_back(block);
        podiumTexts.push_back(makeText(
            toDisplayString(placeName(static_cast<int>(place) + 1, words)), font, cardTextSize,
            {x + 20.f, podiumGround - blockHeights[place] + 20.f}, textColourOn(colour), fit));
        const std::string& name = players[static_cast<std::size_t>(slot)].name;
        if (!name.empty()) {
            podiumTexts.push_back(makeText(toDisplayString(name), font, restTextSize,
                                           {x, podiumGround - blockHeights[place] - 50.f},
                                           sf::Color::White, fit));
        }
    }
}

void SofaView::listTheRest(const std::vector<Player>& players, const std::vector<int>& order,
                           const sf::Font& font, const ScreenFit& fit) {
    // Below the blocks, each with a patch of their colour where they have no name.
    float y = podiumGround + 30.f;
    const float restLeft = podiumArea.left + 60.f;
    for (std::size_t place = blockOrder.size(); place < order.size(); ++place) {
        const int slot = order[place];
        const std::size_t column = (place - blockOrder.size()) % 2;
        const float x = restLeft + static_cast<float>(column) * 400.f;
        podiumTexts.push_back(
            makeText(toDisplayString(placeName(static_cast<int>(place) + 1, words)), font,
                     restTextSize, {x, y}, sf::Color::White, fit));
        sf::RectangleShape patch({40.f, 40.f});
        patch.setPosition(x + 90.f, y);
        patch.setFillColor(slotColour(slot));
        blocks.push_back(patch);
        const std::string& name = players[static_cast<std::size_t>(slot)].name;
        if (!name.empty()) {
            podiumTexts.push_back(makeText(toDisplayString(name), font, restTextSize,
                                           {x + 145.f, y}, sf::Color::White, fit));
        }
        if (column == 1) {
            y += 50.f;
        }
    }
}

void SofaView::hidePodium() {
    podiumUp = false;
}

void SofaView::draw(sf::RenderTarget& target) const {
    if (podiumUp) {
        target.draw(podiumBack);
        for (const sf::RectangleShape& block : blocks) {
            target.draw(block);
        }
        for (const sf::Text& text : podiumTexts) {
            target.draw(text);
        }
        return;
    }
    if (cardUp) {
        target.draw(card);
        for (const sf::Text& text : cardLines) {
            target.draw(text);
        }
    }
}

void fitTaskToRow(Player& player, const sf::String& task, const ScreenFit& fit) {
    sf::Text& text = player.taskText;
    const float bottom = player.statusRow.getPosition().y + rowHeight - rowBottomMargin;
    const float right = layoutSize.x - rowRightMargin;
    const auto fits = [&](const sf::String& string, unsigned int size) {
        text.setString(string);
        text.setCharacterSize(size);
        text.setScale(1.f, 1.f);
        text.setOrigin(0.f, 0.f);
        const sf::FloatRect shown = text.getGlobalBounds();
        return shown.top + shown.height <= bottom && shown.left + shown.width <= right;
    };
    unsigned int size = statusTextSize;
    for (;; --size) {
        if (fits(task, size)) {
            break;
        }
        const sf::Text measure(text);
        const sf::String wrapped =
            wrapToWidth(task, right - text.getPosition().x,
                        [&measure](const sf::String& line) { return lineWidth(measure, line); });
        // At the smallest size the wrapped text is the best there is.
        if (fits(wrapped, size) || size == smallestRowTextSize) {
            break;
        }
    }
    fitText(text, size, fit);
}

void fitMark(sf::Text& mark, sf::Vector2f corner, float radius, const ScreenFit& fit) {
    // Every corner of the glyphs inside the token's edge, clear of it, so that it frames them.
    const float room = radius - tokenOutline - markMargin;
    auto size = static_cast<unsigned int>(std::lround(radius * markSizeShare));
    mark.setPosition(0.f, 0.f);
    for (;; --size) {
        fitText(mark, size, fit);
        const sf::FloatRect glyphs = mark.getGlobalBounds();
        if (std::hypot(glyphs.width / 2.f, glyphs.height / 2.f) <= room ||
            size <= smallestMarkSize) {
            break;
        }
    }
    const sf::FloatRect glyphs = mark.getGlobalBounds();
    const sf::Vector2f place =
        corner + sf::Vector2f(radius, radius) -
        sf::Vector2f(glyphs.left + glyphs.width / 2.f, glyphs.top + glyphs.height / 2.f);
    // On a whole pixel even where the layout is shown at its own size: a mark between two
    // pixels blurs.
    const auto whole = [](float point, float offset, float scale) {
        return (std::round(offset + scale * point) - offset) / scale;
    };
    mark.setPosition(whole(place.x, fit.offset.x, fit.scale.x),
                     whole(place.y, fit.offset.y, fit.scale.y));
    fitText(mark, size, fit);
}

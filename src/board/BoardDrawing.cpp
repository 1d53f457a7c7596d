#include "board/BoardDrawing.hpp"

#include <cmath>

namespace {
void appendQuad(sf::VertexArray& vertices, const sf::FloatRect& quad, sf::Color colour) {
    const sf::Vector2f topLeft{quad.left, quad.top};
    const sf::Vector2f topRight{quad.left + quad.width, quad.top};
    const sf::Vector2f bottomLeft{quad.left, quad.top + quad.height};
    const sf::Vector2f bottomRight{quad.left + quad.width, quad.top + quad.height};
    for (const sf::Vector2f& corner :
         {topLeft, topRight, bottomLeft, bottomLeft, topRight, bottomRight}) {
        vertices.append(sf::Vertex(corner, colour));
    }
}

// A square as a rectangle shape with an outline inside its edge draws it: the fill, then a
// frame of the outline's width over it.
void appendSquare(sf::VertexArray& vertices, const sf::RectangleShape& rect) {
    const sf::Vector2f corner = rect.getPosition();
    const sf::Vector2f size = rect.getSize();
    const float line = -rect.getOutlineThickness();
    const sf::Color outline = rect.getOutlineColor();

    appendQuad(vertices, {corner, size}, rect.getFillColor());
    appendQuad(vertices, {corner.x, corner.y, size.x, line}, outline);
    appendQuad(vertices, {corner.x, corner.y + size.y - line, size.x, line}, outline);
    appendQuad(vertices, {corner.x, corner.y + line, line, size.y - 2 * line}, outline);
    appendQuad(vertices, {corner.x + size.x - line, corner.y + line, line, size.y - 2 * line},
               outline);
}

// Whole pixels, so that the clipped redraw covers every pixel a glyph touched.
sf::FloatRect wholePixels(const sf::FloatRect& area) {
    const float left = std::floor(area.left);
    const float top = std::floor(area.top);
    return {left, top, std::ceil(area.left + area.width) - left,
            std::ceil(area.top + area.height) - top};
}
} // namespace

void BoardDrawing::build(const Fields& fields) {
    squares.clear();
    patches.clear();
    for (const Field& field : fields) {
        appendSquare(squares, field.rect);
    }

    for (int label = 0; label < fieldCount; ++label) {
        const sf::FloatRect glyphs = fields[label].text.getGlobalBounds();
        for (int square = label + 1; square < fieldCount; ++square) {
            sf::FloatRect spot;
            if (!glyphs.intersects(fields[square].rect.getGlobalBounds(), spot)) {
                continue;
            }
            Patch patch{wholePixels(spot), square, {}};
            for (int later = square; later < fieldCount; ++later) {
                if (fields[later].text.getGlobalBounds().intersects(patch.area)) {
                    patch.labels.push_back(later);
                }
            }
            patches.push_back(patch);
        }
    }
}

void BoardDrawing::draw(sf::RenderTarget& target, const Fields& fields) const {
    target.draw(squares);
    for (const Field& field : fields) {
        target.draw(field.text);
    }
    if (patches.empty()) {
        return;
    }

    const sf::View view = target.getView();
    for (const Patch& patch : patches) {
        target.setView(clippedView(view, patch.area));
        target.draw(fields[patch.square].rect);
        for (const int label : patch.labels) {
            target.draw(fields[label].text);
        }
    }
    target.setView(view);
}

sf::View clippedView(const sf::View& base, const sf::FloatRect& area) {
    const sf::FloatRect viewport = base.getViewport();
    const sf::Vector2f size = base.getSize();
    const sf::Vector2f origin = base.getCenter() - size / 2.f;

    sf::View clipped(area);
    clipped.setViewport({viewport.left + viewport.width * (area.left - origin.x) / size.x,
                         viewport.top + viewport.height * (area.top - origin.y) / size.y,
                         viewport.width * area.width / size.x,
                         viewport.height * area.height / size.y});
    return clipped;
}

#pragma once

#include "board/BoardGeometry.hpp"
#include "board/Field.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <array>
#include <vector>

/// The board drawn in few draw calls: all squares as one vertex array, then all labels. On a
/// software renderer that costs a fraction of drawing square, label, square, label, and it
/// gives the same pixels, but for one thing: a few glyphs reach a pixel into the square on
/// their left, which is drawn after them when that square has the higher number. Those spots
/// are drawn again, clipped to the spot, in the order of the square-by-square drawing.
class BoardDrawing {
public:
    /// Prepares the drawing of the laid-out fields; their labels must have their font, since
    /// the spots are found from the labels' glyph bounds.
    void build(const Fields& fields);

    /// Draws the board into the target with the target's current view.
    void draw(sf::RenderTarget& target, const Fields& fields) const;

private:
    /// A spot where a label reaches into a square drawn after it.
    struct Patch {
        sf::FloatRect area;
        int square = 0;
        /// Labels to draw over the square again, in field order: its own and any later one.
        std::vector<int> labels;
    };

    sf::VertexArray squares{sf::Triangles};
    std::vector<Patch> patches;
};

/// A view that draws what `base` shows of `area` only, and clips everything else.
sf::View clippedView(const sf::View& base, const sf::FloatRect& area);

#pragma once

#include <SFML/System/Clock.hpp>
#include <SFML/System/Time.hpp>

#include <functional>

/// How the game spends the time it waits, inside a turn and for frames it does not draw: real
/// sleeps on a steady clock, or the sleeps and clock a test gives it.
class FramePacer {
public:
    /// `frameLimit` frames a second, 0 for no limit; empty `sleep` and `now` are the real ones.
    FramePacer(unsigned int frameLimit, std::function<void(sf::Time)> sleep,
               std::function<sf::Time()> now);

    /// The time on the game's steady clock.
    sf::Time now() const;

    /// The real time since the game started.
    sf::Time sinceStart() const;

    /// Waits `duration` in slices short enough for Escape to act at once, and calls
    /// `meanwhile` after each; stops early when it returns false. Even a wait of nothing
    /// calls it once.
    void pause(sf::Time duration, const std::function<bool()>& meanwhile);

    /// Waits out the rest of a frame that is not drawn, as the window waits after a frame
    /// drawn, so that events are still looked at as often.
    void waitOutFrame(const std::function<bool()>& meanwhile);

    /// A frame is on the screen: the next frame's time starts now.
    void frameShown();

private:
    unsigned int frameLimit;
    std::function<void(sf::Time)> sleep;
    std::function<sf::Time()> clock;
    sf::Clock sinceFrame;
    sf::Clock started;
};

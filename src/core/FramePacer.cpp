#include "core/FramePacer.hpp"

#include <SFML/System/Sleep.hpp>

#include <algorithm>

namespace {
/// The longest the game sleeps without looking at the window's events: Escape acts at once.
const sf::Time eventPollInterval = sf::milliseconds(10);
} // namespace

FramePacer::FramePacer(unsigned int limit, std::function<void(sf::Time)> sleeper,
                       std::function<sf::Time()> now)
    : frameLimit(limit), sleep(std::move(sleeper)), clock(std::move(now)) {}

sf::Time FramePacer::now() const {
    return clock ? clock() : started.getElapsedTime();
}

sf::Time FramePacer::sinceStart() const {
    return started.getElapsedTime();
}

void FramePacer::pause(sf::Time duration, const std::function<bool()>& meanwhile) {
    for (sf::Time left = duration;;) {
        const sf::Time slice = std::min(left, eventPollInterval);
        if (sleep) {
            sleep(slice);
        } else {
            sf::sleep(slice);
        }
        left -= slice;
        if (!meanwhile() || left <= sf::Time::Zero) {
            return;
        }
    }
}

void FramePacer::waitOutFrame(const std::function<bool()>& meanwhile) {
    if (frameLimit != 0) {
        const sf::Time rest =
            sf::seconds(1.f / static_cast<float>(frameLimit)) - sinceFrame.getElapsedTime();
        if (rest > sf::Time::Zero) {
            pause(rest, meanwhile);
        }
    }
    sinceFrame.restart();
}

void FramePacer::frameShown() {
    sinceFrame.restart();
}

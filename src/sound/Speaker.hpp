#pragma once

#include "sound/Cue.hpp"

#include <locale>
#include <memory>
#include <string>

/// Plays the game's cues on the audio device through SFML's audio module. Until it is opened,
/// and where there is no device, it is silent.
class Speaker {
public:
    Speaker();
    ~Speaker();
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    /// Opens the audio device and makes every sound. Without a device it stays silent and
    /// returns why, in one line; whatever the audio libraries would print meanwhile is held back.
    std::string open(const std::locale& told);

    /// Starts the cue's sound, or starts it again from its beginning if it is playing.
    void play(Cue cue);

    /// Stops every sound at once.
    void stopAll();

private:
    struct Voices;
    // The sounds go before the program ends, so that the device closes cleanly (a WAV being
    // written gets its header then).
    std::unique_ptr<Voices> voices;
};

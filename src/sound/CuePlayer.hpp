#pragma once

#include "sound/Cue.hpp"
#include "sound/Speaker.hpp"

#include <functional>
#include <locale>
#include <string>
#include <vector>

/// The game's cues on their way to the group: each waits for the frame that shows what it
/// tells, and none is kept while the sound is off.
class CuePlayer {
public:
    /// The cues go to `out`, or to the speaker where it is empty; `muted` starts with the
    /// sound off.
    CuePlayer(std::function<void(Cue)> out, bool muted);

    /// Opens the audio device, unless the cues go elsewhere. Opening takes tens of
    /// milliseconds, so the game does it after its first frame. Returns a line on why there
    /// is no sound, in the language given, or nothing.
    std::string start(const std::locale& told);

    /// Keeps the cue for the next frame shown, unless the sound is off.
    void cue(Cue sound);

    /// Plays the cues kept: the frame that shows what they tell is on the screen.
    void playDue();

    /// Turns the sound off at once, or on again with a blip, so that the group hears it.
    void toggle();

private:
    std::function<void(Cue)> out;
    bool muted;
    Speaker speaker;
    std::vector<Cue> due;
};

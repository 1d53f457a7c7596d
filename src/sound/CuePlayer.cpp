#include "sound/CuePlayer.hpp"

CuePlayer::CuePlayer(std::function<void(Cue)> cueOut, bool startMuted)
    : out(std::move(cueOut)), muted(startMuted) {}

std::string CuePlayer::start(const std::locale& told) {
    return out ? std::string() : speaker.open(told);
}

void CuePlayer::cue(Cue sound) {
    if (!muted) {
        due.push_back(sound);
    }
}

void CuePlayer::playDue() {
    for (const Cue sound : due) {
        if (out) {
            out(sound);
        } else {
            speaker.play(sound);
        }
    }
    due.clear();
}

void CuePlayer::toggle() {
    muted = !muted;
    if (muted) {
        due.clear();
        speaker.stopAll();
    } else {
        cue(Cue::join);
    }
}

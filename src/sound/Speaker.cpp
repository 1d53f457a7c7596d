#include "sound/Speaker.hpp"

#include "sound/Synth.hpp"

#include <boost/locale/message.hpp>

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <alc.h>

#include <array>
#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

struct Speaker::Voices {
    // Buffers first: every sound is destroyed before the buffer it plays.
    std::array<sf::SoundBuffer, allCues.size()> buffers;
    std::array<sf::Sound, allCues.size()> sounds;
};

namespace {
// Without a device ALSA, OpenAL Soft and SFML write some forty lines of their own to the
// standard error stream; the game says it in one.
class QuietStandardError {
public:
    QuietStandardError() {
#ifndef _WIN32
        std::fflush(stderr);
        saved = dup(STDERR_FILENO);
        const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved >= 0 && nowhere >= 0) {
            dup2(nowhere, STDERR_FILENO);
        }
        if (nowhere >= 0) {
            ::close(nowhere);
        }
#endif
    }
    ~QuietStandardError() {
#ifndef _WIN32
        std::fflush(stderr);
        if (saved >= 0) {
            dup2(saved, STDERR_FILENO);
            ::close(saved);
        }
#endif
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved = -1;
};

std::size_t slotOf(Cue cue) {
    return static_cast<std::size_t>(cue);
}
} // namespace

Speaker::Speaker() = default;

// A sound stops as it is destroyed.
Speaker::~Speaker() = default;

std::string Speaker::open(const std::locale& told) {
    if (voices) {
        return {};
    }
    const QuietStandardError quiet;
    // The first sound buffer opens SFML's device; it has a context only if that worked.
    auto made = std::make_unique<Voices>();
    if (alcGetCurrentContext() == nullptr) {
        // Released while the errors SFML prints about it are still held back.
        made.reset();
        return boost::locale::translate(
                   "kraxelbrett: no audio device; the game plays without sound\n")
            .str(told);
    }
    for (const Cue cue : allCues) {
        const std::vector<std::int16_t> samples = synthesize(cue);
        made->buffers[slotOf(cue)].loadFromSamples(samples.data(), samples.size(), 1,
                                                   soundSampleRate);
        made->sounds[slotOf(cue)].setBuffer(made->buffers[slotOf(cue)]);
    }
    voices = std::move(made);
    return {};
}

void Speaker::play(Cue cue) {
    if (voices) {
        voices->sounds[slotOf(cue)].play();
    }
}

void Speaker::stopAll() {
    if (voices) {
        for (sf::Sound& sound : voices->sounds) {
            sound.stop();
        }
    }
}

#include "sound/Synth.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>

namespace {
constexpr double pi = 3.14159265358979323846;

std::size_t samplesOf(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * soundSampleRate));
}

/// A note's loudness over its length: a short rise, then held, then a fall to silence at its
/// end, so that notes follow each other without a click.
double noteEnvelope(double t, double length, double rise, double fall) {
    if (t < rise) {
        return t / rise;
    }
    if (t > length - fall) {
        return std::max(0.0, (length - t) / fall);
    }
    return 1.0;
}

/// Adds a tone that glides from one frequency to another (evenly in pitch), with the given
/// strengths of its first harmonics, starting at `start` seconds.
void addTone(std::vector<double>& sound, double start, double length, double fromHz, double toHz,
             const std::vector<double>& harmonics, double rise, double fall) {
    const std::size_t first = samplesOf(start);
    const std::size_t count = samplesOf(length);
    if (sound.size() < first + count) {
        sound.resize(first + count, 0.0);
    }
    double phase = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / soundSampleRate;
        const double hz = fromHz * std::pow(toHz / fromHz, t / length);
        double value = 0.0;
        for (std::size_t h = 0; h < harmonics.size(); ++h) {
            value += harmonics[h] * std::sin(phase * static_cast<double>(h + 1));
        }
        sound[first + i] += value * noteEnvelope(t, length, rise, fall);
        phase += 2.0 * pi * hz / soundSampleRate;
    }
}

/// A struck sound: a tone falling in pitch that dies away, with a burst of noise at its start.
std::vector<double> strike(double length, double fromHz, double toHz, double decay, double noise) {
    std::vector<double> sound(samplesOf(length), 0.0);
    // Seeded, so that every game makes the same sound.
    std::minstd_rand random(7);
    std::uniform_real_distribution<double> spread(-1.0, 1.0);
    double phase = 0.0;
    double previous = 0.0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / soundSampleRate;
        const double hz = fromHz * std::pow(toHz / fromHz, t / length);
        // A difference of white noise leans to the highs: the dry click of a die's edge.
        const double white = spread(random);
        const double crack = white - previous;
        previous = white;
        sound[i] = std::exp(-t / decay) * (std::sin(phase) + noise * crack * std::exp(-t / 0.002));
        phase += 2.0 * pi * hz / soundSampleRate;
    }
    return sound;
}

/// Fades the ends to silence, so that neither end clicks.
void fadeEnds(std::vector<double>& sound, double seconds) {
    const std::size_t count = std::min(samplesOf(seconds), sound.size() / 2);
    for (std::size_t i = 0; i < count; ++i) {
        const double gain =
            0.5 - 0.5 * std::cos(pi * static_cast<double>(i) / static_cast<double>(count));
        sound[i] *= gain;
        sound[sound.size() - 1 - i] *= gain;
    }
}

/// Scales the sound so that its peak is at the given level below full scale.
std::vector<std::int16_t> toSamples(const std::vector<double>& sound, double peakDecibels) {
    double peak = 0.0;
    for (const double value : sound) {
        peak = std::max(peak, std::abs(value));
    }
    const double gain = peak > 0.0 ? 32767.0 * std::pow(10.0, peakDecibels / 20.0) / peak : 0.0;
    std::vector<std::int16_t> samples(sound.size());
    std::transform(sound.begin(), sound.end(), samples.begin(), [gain](double value) {
        return static_cast<std::int16_t>(std::lround(value * gain));
    });
    return samples;
}

std::vector<double> sweep(double fromHz, double toHz) {
    std::vector<double> sound;
    addTone(sound, 0.0, 0.45, fromHz, toHz, {1.0, 0.3, 0.1}, 0.01, 0.12);
    return sound;
}

std::vector<double> notes(const std::vector<double>& hertz, const std::vector<double>& lengths,
                          const std::vector<double>& harmonics) {
    std::vector<double> sound;
    double start = 0.0;
    for (std::size_t i = 0; i < hertz.size(); ++i) {
        addTone(sound, start, lengths[i], hertz[i], hertz[i], harmonics, 0.008, 0.04);
        start += lengths[i];
    }
    return sound;
}

std::vector<double> shape(Cue cue) {
    switch (cue) {
    // Short enough to stay apart from the next face's click, one frame later.
    case Cue::rattle: return strike(0.010, 2600.0, 1800.0, 0.003, 0.6);
    case Cue::knock: return strike(0.14, 180.0, 90.0, 0.035, 0.3);
    case Cue::jumpForward: return sweep(330.0, 1320.0);
    case Cue::jumpBack: return sweep(1320.0, 330.0);
    case Cue::sitOut: return notes({196.0, 147.0}, {0.22, 0.38}, {1.0, 0.0, 0.35, 0.0, 0.15});
    case Cue::fanfare:
        return notes({523.25, 659.25, 783.99, 1046.5}, {0.13, 0.13, 0.13, 0.55}, {1.0, 0.5, 0.3});
    case Cue::join: return notes({988.0}, {0.07}, {1.0});
    case Cue::leave: return notes({659.0}, {0.07}, {1.0});
    }
    return {};
}

/// How loud each cue peaks, in dB below full scale: the die's many clicks and the blips stay
/// in the background.
double peakOf(Cue cue) {
    switch (cue) {
    case Cue::rattle: return -9.0;
    case Cue::join:
    case Cue::leave: return -10.0;
    case Cue::knock:
    case Cue::fanfare: return -4.0;
    default: return -6.0;
    }
}
} // namespace

std::vector<std::int16_t> synthesize(Cue cue) {
    std::vector<double> sound = shape(cue);
    fadeEnds(sound, 0.001);
    return toSamples(sound, peakOf(cue));
}

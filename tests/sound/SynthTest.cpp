#include "sound/Synth.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

// Every sound is short, never clips and fades in and out: neither end may click on any sound
// card, and none may drown the group's talk.
TEST(Synth, EverySoundIsShortBelowFullScaleAndFadesInAndOut) {
    const double ceiling = 32767.0 * std::pow(10.0, -1.0 / 20.0); // -1 dBFS
    const double audible = 32767.0 * std::pow(10.0, -12.0 / 20.0);
    for (const Cue cue : allCues) {
        const std::vector<std::int16_t> samples = synthesize(cue);
        SCOPED_TRACE("cue " + std::to_string(static_cast<int>(cue)));
        ASSERT_GT(samples.size(), soundSampleRate / 200) << "shorter than 5 ms";
        EXPECT_LE(samples.size(), soundSampleRate * 3 / 2) << "longer than 1.5 s";

        int peak = 0;
        for (const std::int16_t sample : samples)
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        EXPECT_LT(peak, ceiling);
        EXPECT_GT(peak, audible);

        // It rises from silence and falls back to it: in its first and last quarter of a
        // millisecond it stays below a quarter of its peak.
        const std::size_t edge = soundSampleRate / 4000;
        EXPECT_EQ(samples.front(), 0);
        EXPECT_EQ(samples.back(), 0);
        for (std::size_t i = 1; i < edge; ++i) {
            EXPECT_LE(std::abs(samples[i]), peak / 4) << "sample " << i;
            EXPECT_LE(std::abs(samples[samples.size() - 1 - i]), peak / 4) << "sample -" << i;
        }
    }
}

// Nor does any sound break off in its middle, which clicks: from one 10 ms stretch to the next
// its peak falls by less than half the loudest (a note's release takes 40 ms). Each stretch
// holds a crest of every tone down to 50 Hz.
TEST(Synth, NoSoundBreaksOffInItsMiddle) {
    const std::size_t window = soundSampleRate / 100;
    for (const Cue cue : allCues) {
        const std::vector<std::int16_t> samples = synthesize(cue);
        std::vector<double> levels;
        for (std::size_t start = 0; start + window <= samples.size(); start += window) {
            int crest = 0;
            for (std::size_t i = start; i < start + window; ++i)
                crest = std::max(crest, std::abs(static_cast<int>(samples[i])));
            levels.push_back(crest);
        }
        const double loudest = *std::max_element(levels.begin(), levels.end());
        for (std::size_t k = 1; k < levels.size(); ++k)
            EXPECT_LT(levels[k - 1] - levels[k], loudest / 2)
                << "cue " << static_cast<int>(cue) << " at " << k * 10 << " ms";
    }
}

// Each die frame's click must be over before the next frame's, which comes one frame (1/60 s)
// later at the soonest; the knock is heard as a sound of its own. Both are struck: loudest
// within their first 3 ms, as a die hitting the table is.
TEST(Synth, TheDieIsStruckAndEachClickEndsWithinAFrame) {
    const std::vector<std::int16_t> click = synthesize(Cue::rattle);
    const std::vector<std::int16_t> knock = synthesize(Cue::knock);
    EXPECT_LT(click.size(), soundSampleRate / 80);
    EXPECT_GT(knock.size(), soundSampleRate / 20);
    for (const auto* struck : {&click, &knock}) {
        const auto loudest =
            std::max_element(struck->begin(), struck->end(), [](std::int16_t a, std::int16_t b) {
                return std::abs(static_cast<int>(a)) < std::abs(static_cast<int>(b));
            });
        EXPECT_LT(loudest - struck->begin(), soundSampleRate * 3 / 1000);
    }
}

namespace {
// The pitch of a stretch of a sound, from how often it crosses zero.
double pitchOf(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i)
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    return crossings / 2.0 * soundSampleRate / static_cast<double>(to - from);
}
} // namespace

// A jump forward rises and one back falls; field 66 and the knock are low, the die's click
// high: the group tells them apart without looking.
TEST(Synth, EachSoundHasItsPitch) {
    const struct {
        Cue cue;
        double startAbove, startBelow, endAbove, endBelow;
    } cases[] = {
        {Cue::jumpForward, 250, 500, 1000, 1500}, {Cue::jumpBack, 1000, 1500, 250, 500},
        {Cue::sitOut, 150, 250, 100, 200},        {Cue::knock, 100, 400, 50, 150},
        {Cue::rattle, 1000, 6000, 1000, 6000},    {Cue::join, 800, 1200, 800, 1200},
        {Cue::leave, 500, 800, 500, 800},         {Cue::fanfare, 400, 600, 900, 1200},
    };
    for (const auto& c : cases) {
        const std::vector<std::int16_t> samples = synthesize(c.cue);
        const std::size_t fifth = samples.size() / 5;
        const double start = pitchOf(samples, 0, fifth);
        const double end = pitchOf(samples, samples.size() - fifth, samples.size());
        SCOPED_TRACE("cue " + std::to_string(static_cast<int>(c.cue)));
        EXPECT_TRUE(start > c.startAbove && start < c.startBelow) << start << " Hz at the start";
        EXPECT_TRUE(end > c.endAbove && end < c.endBelow) << end << " Hz at the end";
    }
}

#include "sound/Synth.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {
// The pitch of a stretch of a sound, from how often it crosses zero.
double pitchOf(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return crossings / 2.0 * soundSampleRate / static_cast<double>(to - from);
}
} // namespace

// Every sound is short, never clips, and fades in and out: neither may click on any sound card,
// and none may drown the group's talk. The die's click is over within a frame (1/60 s), before
// the next one's; it and the knock are struck, loudest within their first 3 ms, as a die hitting
// the table is. A jump forward rises and one back falls; field 66 and the knock are low, the
// die's click high: the group tells them apart without looking.
TEST(Synth, EverySoundIsShortSmoothBelowFullScaleAndOfItsPitch) {
    const double ceiling = 32767.0 * std::pow(10.0, -1.0 / 20.0); // -1 dBFS
    const double audible = 32767.0 * std::pow(10.0, -12.0 / 20.0);
    const struct {
        Cue cue;
        double startAbove, startBelow, endAbove, endBelow;
    } cases[] = {
        {Cue::jumpForward, 250, 500, 1000, 1500}, {Cue::jumpBack, 1000, 1500, 250, 500},
        {Cue::sitOut, 150, 250, 100, 200},        {Cue::knock, 100, 400, 50, 150},
        {Cue::rattle, 1000, 6000, 1000, 6000},    {Cue::join, 800, 1200, 800, 1200},
        {Cue::leave, 500, 800, 500, 800},         {Cue::fanfare, 400, 600, 900, 1200},
    };
    ASSERT_EQ(std::size(cases), allCues.size());
    for (const auto& c : cases) {
        const Cue cue = c.cue;
        const std::vector<std::int16_t> samples = synthesize(cue);
        SCOPED_TRACE("cue " + std::to_string(static_cast<int>(cue)));
        ASSERT_GT(samples.size(), soundSampleRate / 200) << "shorter than 5 ms";
        EXPECT_LE(samples.size(),
                  cue == Cue::rattle ? soundSampleRate / 80 : soundSampleRate * 3 / 2);
        const auto loudest = std::max_element(samples.begin(), samples.end(), [](auto a, auto b) {
            return std::abs(static_cast<int>(a)) < std::abs(static_cast<int>(b));
        });
        const int peak = std::abs(static_cast<int>(*loudest));
        EXPECT_LT(peak, ceiling);
        EXPECT_GT(peak, audible);
        if (cue == Cue::rattle || cue == Cue::knock) {
            EXPECT_LT(loudest - samples.begin(), soundSampleRate * 3 / 1000);
        }

        // Fades in and out: its first and last 0.25 ms stay below a quarter of its peak.
        const std::size_t edge = soundSampleRate / 4000;
        EXPECT_EQ(samples.front(), 0);
        EXPECT_EQ(samples.back(), 0);
        for (std::size_t i = 1; i < edge; ++i) {
            EXPECT_LE(std::abs(samples[i]), peak / 4) << "sample " << i;
            EXPECT_LE(std::abs(samples[samples.size() - 1 - i]), peak / 4) << "sample -" << i;
        }

        const std::size_t fifth = samples.size() / 5;
        const double start = pitchOf(samples, 0, fifth);
        const double end = pitchOf(samples, samples.size() - fifth, samples.size());
        EXPECT_TRUE(start > c.startAbove && start < c.startBelow) << start << " Hz at the start";
        EXPECT_TRUE(end > c.endAbove && end < c.endBelow) << end << " Hz at the end";
    }
}

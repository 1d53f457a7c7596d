#pragma once

#include "sound/Cue.hpp"

#include <cstdint>
#include <vector>

/// Samples per second of every sound the game makes.
constexpr unsigned int soundSampleRate = 44100;

/// The samples of a cue, mono, 16 bits. Each sound is made here from sine waves and a seeded
/// noise, so that the game ships no recording; each fades in and out, so that it never clicks,
/// and peaks a little below full scale, so that it never clips.
std::vector<std::int16_t> synthesize(Cue cue);

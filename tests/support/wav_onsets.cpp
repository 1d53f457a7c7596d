// Lists the sounds in a WAV file, one line each: when it starts, its peak and how long it
// lasts, so that a test can check what the game played into OpenAL Soft's WAV writer.
// A file still being written (its sizes not yet filled in) is read as far as it goes.
// Usage: wav_onsets FILE   (exit 1 if the file is no WAV file it can read)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {
constexpr double onLevel = 0.01;   // -40 dBFS: a sound has started
constexpr double offLevel = 0.003; // about -50 dBFS: quiet
constexpr double quietToEnd = 0.002;

std::uint32_t readLittle(const std::vector<unsigned char>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

struct Wave {
    unsigned int rate = 0;
    std::vector<double> samples; // the first channel
};

bool readWave(const std::string& path, Wave& wave, std::string& problem) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE") {
        problem = "not a RIFF WAVE file";
        return false;
    }
    unsigned int format = 0, channels = 0, bits = 0;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id(bytes.begin() + static_cast<long>(at),
                             bytes.begin() + static_cast<long>(at) + 4);
        const std::size_t size = readLittle(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        if (id == "fmt " && size >= 16 && body + size <= bytes.size()) {
            format = readLittle(bytes, body, 2);
            channels = readLittle(bytes, body + 2, 2);
            wave.rate = readLittle(bytes, body + 4, 4);
            bits = readLittle(bytes, body + 14, 2);
            if (format == 0xFFFE && size >= 26) {
                format = readLittle(bytes, body + 24, 2);
            }
        } else if (id == "data") {
            if (channels == 0 || !((format == 1 && bits == 16) || (format == 3 && bits == 32))) {
                problem = "only 16-bit PCM and 32-bit float are read";
                return false;
            }
            const std::size_t frame = channels * bits / 8;
            const std::size_t end = size == 0 ? bytes.size() : std::min(bytes.size(), body + size);
            for (std::size_t sample = body; sample + frame <= end; sample += frame) {
                const std::uint32_t raw = readLittle(bytes, sample, static_cast<int>(bits / 8));
                if (format == 1) {
                    wave.samples.push_back(static_cast<std::int16_t>(raw) / 32768.0);
                } else {
                    float value = 0.f;
                    static_assert(sizeof value == sizeof raw, "32-bit float");
                    std::memcpy(&value, &raw, sizeof value);
                    wave.samples.push_back(value);
                }
            }
            return true;
        }
        at = body + size + (size % 2);
    }
    problem = "no data";
    return false;
}
} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "Usage: wav_onsets FILE\n";
        return 2;
    }
    Wave wave;
    std::string problem;
    if (!readWave(argv[1], wave, problem)) {
        std::cerr << argv[1] << ": " << problem << '\n';
        return 1;
    }
    const auto quietSamples = static_cast<std::size_t>(quietToEnd * wave.rate);
    const double toMs = 1000.0 / wave.rate;
    for (std::size_t i = 0; i < wave.samples.size(); ++i) {
        if (std::abs(wave.samples[i]) < onLevel) {
            continue;
        }
        // The sound lasts until it has stayed quiet for a while.
        const std::size_t start = i;
        std::size_t last = i;
        double peak = 0.0;
        for (; i < wave.samples.size() && i - last < quietSamples; ++i) {
            const double level = std::abs(wave.samples[i]);
            if (level >= offLevel) {
                last = i;
            }
            peak = std::max(peak, level);
        }
        std::printf("%.1f %.1f %.1f\n", static_cast<double>(start) * toMs, 20.0 * std::log10(peak),
                    static_cast<double>(last - start + 1) * toMs);
    }
    return 0;
}

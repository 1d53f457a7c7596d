// Lists the sounds in a WAV file, one line each: when it starts, its peak and how long it
// lasts, so that a test can check what the game played into OpenAL Soft's WAV writer.
// Usage: wav_onsets FILE   (exit 1 if SFML cannot read the file)
#include <SFML/Audio/InputSoundFile.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char* argv[]) {
    sf::InputSoundFile file;
    if (argc != 2 || !file.openFromFile(argv[1]))
        return argc != 2 ? 2 : 1;
    std::vector<sf::Int16> samples(file.getSampleCount());
    samples.resize(file.read(samples.data(), samples.size()));
    const std::size_t channels = file.getChannelCount();
    const double toMs = 1000.0 / file.getSampleRate();
    // A sound starts above -40 dBFS and lasts until it has stayed below about -50 for 2 ms.
    const int onLevel = 328, offLevel = 98;
    const auto quiet = static_cast<std::size_t>(file.getSampleRate() / 500);
    for (std::size_t i = 0; i < samples.size(); i += channels) {
        if (std::abs(samples[i]) < onLevel)
            continue;
        const std::size_t start = i;
        std::size_t last = i;
        int peak = 0;
        for (; i < samples.size() && (i - last) / channels < quiet; i += channels) {
            const int level = std::abs(samples[i]);
            last = level >= offLevel ? i : last;
            peak = std::max(peak, level);
        }
        // Whole frames: a sample of each channel.
        const std::size_t frame = start / channels, frames = (last - start) / channels + 1;
        std::printf("%.1f %.1f %.1f\n", static_cast<double>(frame) * toMs,
                    20.0 * std::log10(peak / 32768.0), static_cast<double>(frames) * toMs);
    }
    return 0;
}

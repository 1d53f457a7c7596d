#!/usr/bin/python3
"""Lists the sounds in a WAV file of 16-bit samples, one line each: when it starts, its peak, how
long it lasts (ms, dBFS, ms) and how often it starts, so that a test can check what the game
played into OpenAL Soft's WAV writer. The first channel is read. Usage: wav_onsets.py FILE"""
import math
import struct
import sys
from array import array

wav = open(sys.argv[1], "rb").read()
at, channels, rate, samples = 12, 1, 0, array("h")
while at + 8 <= len(wav):  # chunks: the format's, the samples', maybe others
    name, size = struct.unpack_from("<4sI", wav, at)
    if name == b"fmt ":
        channels, rate = struct.unpack_from("<HI", wav, at + 10)
    elif name == b"data":
        samples = array("h", wav[at + 8:at + 8 + size // 2 * 2])[::channels]
    at += 8 + size + size % 2
if not rate or wav[:4] != b"RIFF":
    sys.exit(f"wav_onsets: {sys.argv[1]}: no WAV file")


def starts(sound):
    """How often a sound starts: again each time its power over 16 samples, having fallen 6 dB
    below its top, rises fourfold over its low to above -40 dBFS (a source played again cuts
    itself off and starts over). Meant for the die's short clicks."""
    count, top, low = 1, 0, None
    for at in range(0, len(sound), 16):
        power = sum(value * value for value in sound[at:at + 16])
        if low is None:
            top = max(top, power)
            low = power if 4 * power <= top else None
        elif power >= 4 * low and power >= 16 * 328 * 328:
            count, top, low = count + 1, power, None
        else:
            low = min(low, power)
    return count


# A sound starts above -40 dBFS and lasts until it has stayed below about -50 for 2 ms.
i, quiet = 0, rate // 500
while i < len(samples):
    if abs(samples[i]) >= 328:
        start = last = i
        peak = 0
        while i < len(samples) and i - last < quiet:
            last = i if abs(samples[i]) >= 98 else last
            peak = max(peak, abs(samples[i]))
            i += 1
        print(f"{start * 1000 / rate:.1f} {20 * math.log10(peak / 32768):.1f} "
              f"{(last - start + 1) * 1000 / rate:.1f} {starts(samples[start:last + 1])}")
    i += 1

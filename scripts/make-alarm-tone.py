#!/usr/bin/env python3
"""Writes res/sounds/alarm-tone.wav, the station's alarm tone.

Two falling notes (880 Hz, then 660 Hz) and a pause: played in a loop it is
the familiar two-tone alert of a control room, and it is short enough to stop
at once when muted. 22.05 kHz, 16-bit mono PCM, the format every audio
output takes. Run again only to change the tone; the file is committed.
"""
import math
import os
import struct
import sys
import wave

RATE = 22050
AMPLITUDE = 0.45
NOTES = [(880.0, 0.22), (660.0, 0.22)]
GAP_S = 0.04
PAUSE_S = 0.32
EDGE_S = 0.01  # fade in and out, so the notes do not click


def note(freq, seconds):
    count = int(RATE * seconds)
    edge = int(RATE * EDGE_S)
    samples = []
    for i in range(count):
        envelope = min(1.0, i / edge, (count - 1 - i) / edge)
        # A little third harmonic makes it cut through plant noise.
        value = math.sin(2 * math.pi * freq * i / RATE) + 0.25 * math.sin(
            2 * math.pi * 3 * freq * i / RATE)
        samples.append(AMPLITUDE * envelope * value / 1.25)
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "res", "sounds", "alarm-tone.wav")
    samples = note(*NOTES[0]) + silence(GAP_S) + note(*NOTES[1]) + silence(PAUSE_S)
    frames = b"".join(struct.pack("<h", int(round(s * 32767))) for s in samples)
    with wave.open(target, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Figures of scene three's sky, from a folder of captured frames.

    scripts/sky-figures.py DIR [FPS]

DIR holds frame_NNNNNN.png from `undertow --capture DIR --fps FPS` (default 2), numbered by
their place in a whole run. For the upper half of each frame it takes the share of pixels
clipped to white (all three channels at 250 or more), the mean level of all channels and the
mean of blue minus red, and prints them per section: the island after its white flash, and
the sea from 130 s (after its flash) until the red veil at 170 s. Needs only ffmpeg.
"""
import os
import re
import subprocess
import sys

# (name, first second, last second) on the demo clock.
SECTIONS = [("island", 116.5, 127.0), ("sea", 130.0, 170.0)]
WHITE = bytes(1 if v >= 250 else 0 for v in range(256))


def read_rgb(path):
    """The frame as (width, height, rgb24 bytes, top row first)."""
    probe = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                            "stream=width,height", "-of", "csv=p=0", path],
                           check=True, capture_output=True, text=True).stdout.strip().split(",")
    width, height = int(probe[0]), int(probe[1])
    data = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                          check=True, capture_output=True).stdout
    return width, height, data


def upper_half_figures(path):
    """(white share, mean level, mean blue minus red) of the frame's upper half."""
    width, height, data = read_rgb(path)
    half = data[: width * (height // 2) * 3]
    red, green, blue = half[0::3], half[1::3], half[2::3]
    pixels = len(red)
    white = (int.from_bytes(red.translate(WHITE), "little") & int.from_bytes(green.translate(WHITE), "little")
             & int.from_bytes(blue.translate(WHITE), "little"))
    white_share = bin(white).count("1") / pixels
    mean = (sum(red) + sum(green) + sum(blue)) / (3 * pixels)
    blue_over_red = (sum(blue) - sum(red)) / pixels
    return white_share, mean, blue_over_red


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__.strip().splitlines()[2].strip())
    folder = sys.argv[1]
    fps = float(sys.argv[2]) if len(sys.argv) > 2 else 2.0
    frames = {}
    for name in os.listdir(folder):
        match = re.fullmatch(r"frame_(\d+)\.png", name)
        if match:
            frames[int(match.group(1))] = os.path.join(folder, name)
    print(f"{'section':8} {'seconds':>13} {'frames':>6} {'white mean':>10} {'white max':>9} {'mean':>6} {'blue-red':>8}")
    for name, first, last in SECTIONS:
        chosen = [frames[k] for k in sorted(frames) if first <= k / fps <= last]
        if not chosen:
            print(f"{name:8} {first:6.1f}-{last:6.1f} {0:6d}  (no frames)")
            continue
        figures = [upper_half_figures(path) for path in chosen]
        whites = [f[0] for f in figures]
        mean = sum(f[1] for f in figures) / len(figures)
        blue_over_red = sum(f[2] for f in figures) / len(figures)
        print(f"{name:8} {first:6.1f}-{last:6.1f} {len(chosen):6d} {100 * sum(whites) / len(whites):9.1f}% "
              f"{100 * max(whites):8.1f}% {mean:6.1f} {blue_over_red:8.1f}")


if __name__ == "__main__":
    main()

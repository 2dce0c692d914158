#!/usr/bin/env python3
"""Compares two folders of captured frames (frame_NNNNNN.png, the same numbers in both) pixel by
pixel and prints, per frame, the mean difference and the share of pixels with a channel more than
LEVELS apart, then the worst frame and how many frames pass (at most SHARE % of such pixels).

usage: compare-frames.py BEFORE_DIR AFTER_DIR [LEVELS=2] [SHARE=0.1] [--only-failing]"""
import os, re, subprocess, sys

def frames(folder):
    return sorted(f for f in os.listdir(folder) if re.fullmatch(r'frame_\d{6}\.png', f))

def pixels(path):
    return subprocess.run(['ffmpeg', '-v', 'error', '-i', path, '-f', 'rawvideo', '-pix_fmt', 'rgb24', '-'],
                          check=True, capture_output=True).stdout

def main():
    args = [a for a in sys.argv[1:] if not a.startswith('--')]
    only_failing = '--only-failing' in sys.argv
    before, after = args[0], args[1]
    levels = int(args[2]) if len(args) > 2 else 2
    share_limit = float(args[3]) if len(args) > 3 else 0.1
    names = [n for n in frames(before) if os.path.exists(os.path.join(after, n))]
    worst, passing = None, 0
    for name in names:
        a, b = pixels(os.path.join(before, name)), pixels(os.path.join(after, name))
        if len(a) != len(b):
            print(f'{name}: sizes differ'); continue
        far = total = 0
        for i in range(0, len(a), 3):
            d = max(abs(a[i] - b[i]), abs(a[i + 1] - b[i + 1]), abs(a[i + 2] - b[i + 2]))
            total += d
            far += d > levels
        share = 100.0 * far / (len(a) // 3)
        mean = total / (len(a) // 3)
        ok = share <= share_limit
        passing += ok
        if not only_failing or not ok:
            print(f'{name}: mean {mean:.3f}, {share:.3f} % of pixels over {levels} levels{"" if ok else "  <-"}')
        if worst is None or share > worst[1]:
            worst = (name, share, mean)
    if worst:
        print(f'worst: {worst[0]} ({worst[1]:.3f} %, mean {worst[2]:.3f}); '
              f'{passing} of {len(names)} frames within {share_limit} %')

main()

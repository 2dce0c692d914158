#!/usr/bin/env python3
"""compare_builds.py LINUX_DIR WINDOWS_DIR LIMITS: compares two captures of the same run (frame
folders of the Linux and the Windows build) one frame a second, scene by scene.

LIMITS is a list of NAME:FIRST-LAST:MEAN:WORST, frame numbers inclusive: the mean difference over
the scene's compared frames (channel levels per pixel) must stay within MEAN and the worst frame's
share of pixels with a channel more than 16 levels apart within WORST per cent. Prints one line per
scene and exits 1 when any scene is over its limits or a frame is missing."""
import os
import subprocess
import sys

FAR = 16


def pixels(path):
    return subprocess.run(['ffmpeg', '-v', 'error', '-i', path, '-f', 'rawvideo', '-pix_fmt', 'rgb24', '-'],
                          check=True, capture_output=True).stdout


def difference(a, b):
    """The mean channel difference and the share (%) of pixels with a channel over FAR apart."""
    if a == b:
        return 0.0, 0.0
    diffs = bytes(map(lambda x, y: x - y if x > y else y - x, a, b))
    mean = sum(diffs) / len(diffs)
    far = 0
    for i in range(0, len(diffs), 3):
        if diffs[i] > FAR or diffs[i + 1] > FAR or diffs[i + 2] > FAR:
            far += 1
    return mean, 100.0 * far / (len(diffs) // 3)


def main():
    linux, windows, limits = sys.argv[1], sys.argv[2], sys.argv[3:]
    failed = False
    for limit in limits:
        name, frames, mean_limit, worst_limit = limit.split(':')
        first, last = (int(n) for n in frames.split('-'))
        means, worst = [], (0.0, None)
        for number in range(first, last + 1, 5):
            file = f'frame_{number:06d}.png'
            a_path, b_path = os.path.join(linux, file), os.path.join(windows, file)
            if not os.path.exists(a_path) or not os.path.exists(b_path):
                print(f'{name}: {file} is missing')
                failed = True
                continue
            a, b = pixels(a_path), pixels(b_path)
            if len(a) != len(b):
                print(f'{name}: {file} differs in size')
                failed = True
                continue
            mean, share = difference(a, b)
            means.append(mean)
            if worst[1] is None or share > worst[0]:
                worst = (share, file)
        if not means:
            continue
        mean = sum(means) / len(means)
        over = mean > float(mean_limit) or worst[0] > float(worst_limit)
        failed |= over
        print(f'{name}: {len(means)} frames, mean difference {mean:.4f} levels (limit {mean_limit}), '
              f'worst {worst[1]} with {worst[0]:.4f} % of pixels over {FAR} levels (limit {worst_limit})'
              f'{"  <- over" if over else ""}')
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()

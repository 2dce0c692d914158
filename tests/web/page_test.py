#!/usr/bin/env python3
"""The web build's page in headless Chromium (SwiftShader's WebGL 2), served as any static server
serves it:

  - its frames at moments of every scene against the Linux desktop build's, within a mean
    difference of 3 levels and 3 % of pixels more than 16 levels apart;
  - no error in the console while it loads, seeks, plays and pauses;
  - music that runs with the picture: the audio output running and the music's position moving
    on with the demo's clock;
  - the player's keys, taps on a touch screen, Play again at the end, Escape left to the browser;
  - the Play button where sound waits for a click, and the click that starts both;
  - a bad address option and a browser without WebGL 2 each get one readable line;
  - a high-resolution screen gets a canvas at its pixel ratio and the picture drawn to match.

    page_test.py WEB_DIR DESKTOP_FRAMES_DIR WORK_DIR

DESKTOP_FRAMES_DIR holds, for each moment T in MOMENTS, a folder T with the Linux build's
`--start T --frames 1 --capture` frame. Prints one line per check; exits 1 when any fails.
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from web_browser import AUTOPLAY, PHASE, SECONDS, Browser  # noqa: E402

MOMENTS = {9: "scene one", 33: "scene one", 61: "scene two", 95: "scene four", 121: "scene three",
           185: "scene three"}
MEAN_LIMIT, SHARE_LIMIT, FAR_LEVELS = 3.0, 3.0, 16
STEP = 1.0 / 60.0
SLOW = 300   # seconds any one wait may take on a busy machine

failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def pixels(path):
    return subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                          check=True, capture_output=True).stdout


def difference(a, b):
    """Per pixel the largest difference of its three channels: their mean over the picture, and
    the share (%) of pixels where it is over FAR_LEVELS."""
    total = far = 0
    for i in range(0, len(a), 3):
        d = max(abs(a[i] - b[i]), abs(a[i + 1] - b[i + 1]), abs(a[i + 2] - b[i + 2]))
        total += d
        far += d > FAR_LEVELS
    count = len(a) // 3
    return total / count, 100.0 * far / count


def state(page):
    return page.eval(f"[{PHASE}, {SECONDS}]")


def wait_state(page, phase, near=None, tolerance=0.02, limit=SLOW):
    """Waits for the run's phase (and a demo time within `tolerance` of `near`); returns the time."""
    test = f"{PHASE} === {phase!r}"
    if near is not None:
        test += f" && Math.abs({SECONDS} - {near}) <= {tolerance}"
    found = page.wait_for(f"({test}) ? [{SECONDS}] : null", limit)
    return found[0] if found else False


def reached_after(page, action, limit=SLOW):
    """Does `action` and returns the demo time the seek it makes lands on, from the program's line."""
    since = len(page.lines)
    action()
    line = page.wait_line(r"^undertow: reached [\d.]+ s of the demo", limit, since)
    return float(line.split()[2]) if line else None


def centre_of(page, selector):
    return page.eval(f"(() => {{ const r = document.querySelector({selector!r}).getBoundingClientRect(); "
                     "return r.width ? [r.left + r.width / 2, r.top + r.height / 2] : null; })()")


def frames(page, desktop, work):
    """The paused picture at each moment, reached first by the address and then by seeks."""
    page.wait_for("document.body.classList.contains('idle')", 30)   # the corner's buttons gone
    for index, (moment, scene) in enumerate(MOMENTS.items()):
        if index > 0:
            page.eval(f"undertowSeekTo({moment})")
        if not check(wait_state(page, "paused", moment) is not False, f"paused on the frame at {moment} s"):
            continue
        page.sleep(0.5)
        shot = os.path.join(work, f"page-{moment}.png")
        page.shot(shot)
        reference = os.path.join(desktop, str(moment), f"frame_{round(moment * 60):06d}.png")
        ours, theirs = pixels(shot), pixels(reference)
        if not check(len(ours) == len(theirs), f"{moment} s: the page's picture is 640 x 480 as the desktop's"):
            continue
        mean, share = difference(ours, theirs)
        check(mean <= MEAN_LIMIT and share <= SHARE_LIMIT,
              f"{moment} s ({scene}) against the desktop build: mean {mean:.2f} levels, {share:.2f} % of pixels "
              f"over {FAR_LEVELS} levels (at most {MEAN_LIMIT} and {SHARE_LIMIT} %)")


def music(page):
    """Played on from a pause, picture and music run together."""
    page.key("Space")
    check(wait_state(page, "playing") is not False, "Space plays on")
    page.sleep(1.0)
    first = page.eval(f"[undertowAudioContext().state, undertowMusicSeconds(), {SECONDS}]")
    page.sleep(2.0)
    second = page.eval(f"[undertowAudioContext().state, undertowMusicSeconds(), {SECONDS}]")
    check(first[0] == "running" and second[0] == "running", f"the audio output runs ({second[0]})")
    check(second[1] - first[1] > 1.0, f"the music moves on: {first[1]:.2f} s, 2 s later {second[1]:.2f} s")
    check(second[2] - first[2] > 1.0, f"the demo's clock moves on: {first[2]:.2f} s, then {second[2]:.2f} s")
    check(abs(second[1] - second[2]) < 0.5, f"music and picture together: {second[1]:.2f} s and {second[2]:.2f} s")


def keys(page):
    landed = reached_after(page, lambda: page.key("Home"))
    check(landed == 0.0, f"Home starts the timeline again (at {landed} s)")
    check(wait_state(page, "playing") is not False, "and plays")
    before = page.eval(SECONDS)
    landed = reached_after(page, lambda: page.key("ArrowRight"))
    check(landed is not None and before + 5.0 <= landed <= before + 6.5,
          f"Right: five seconds on, from {before:.2f} s to {landed} s")
    landed = reached_after(page, lambda: page.key("PageDown"))
    check(landed is not None and abs(landed - 50.02) < 0.006, f"Page Down: scene two's first frame, {landed} s")
    page.key("Space")
    paused = wait_state(page, "paused")
    check(paused is not False, f"Space pauses (at {paused} s)")
    page.sleep(1.0)
    check(page.eval(SECONDS) == paused, "the clock stands while paused")
    page.key("Period")
    stepped = page.wait_for(f"{PHASE} === 'paused' && {SECONDS} !== {paused} ? [{SECONDS}] : null", 60)
    check(bool(stepped) and abs(stepped[0] - paused - STEP) < 0.0015, f"'.' steps one frame, to {stepped} s")
    page.key("Escape")
    page.sleep(1.0)
    check(page.eval(f"undertow.running && {PHASE} === 'paused'"), "Escape leaves the run as it was")


def full_screen(page):
    """F, Escape, a double-click and the corner's button; the run goes on through all of them."""
    full = "!!document.fullscreenElement"
    page.key("F")
    check(page.wait_for(full, 10) is not None, "F: full screen")
    page.key("Escape")
    check(page.wait_for(f"!{full}", 10) is not None, "Escape leaves full screen")
    page.double_click(320, 240)
    check(page.wait_for(full, 10) is not None, "a double-click: full screen")
    button = centre_of(page, "#fullscreen")
    page.click(*button)
    check(page.wait_for(f"!{full}", 10) is not None, "the corner's button leaves it")
    check(page.eval(f"undertow.running && {PHASE} === 'paused'"), "and the run is as it was")


def taps(page):
    """Paused from the keys: a tap plays on, the next pauses, one on the time line seeks there."""
    page.tap(320, 240)
    check(wait_state(page, "playing") is not False, "a tap plays on")
    page.tap(320, 240)
    check(wait_state(page, "paused") is not False, "a tap pauses")
    # The line runs from 8 to 632 across the bottom of the picture: a quarter along is 50 s.
    landed = reached_after(page, lambda: page.tap(8 + 0.25 * 624, 472))
    check(landed == 50.0, f"a tap on the time line a quarter along seeks to {landed} s")
    check(wait_state(page, "paused", 50.0) is not False, "and holds that frame")
    page.tap(320, 240)
    check(wait_state(page, "playing") is not False, "a tap elsewhere plays on")


def play_again(page):
    page.eval("undertowSeekTo(199.5)")
    check(wait_state(page, "ended") is not False, "the timeline ends and the run stays")
    button = page.wait_for("document.getElementById('again').hidden === false && "
                           "(() => { const r = document.getElementById('again').getBoundingClientRect(); "
                           "return [r.left + r.width / 2, r.top + r.height / 2]; })()", 10)
    if not check(bool(button), "Play again is offered"):
        return
    page.click(*button)
    started = page.wait_for(f"{PHASE} === 'playing' && {SECONDS} < 5 ? [{SECONDS}] : null", 60)
    check(bool(started), f"Play again plays from the start ({started} s), without loading the page again")


def whole_run(folder, desktop, work):
    with Browser(folder, flags=[AUTOPLAY], quiet=True) as browser:
        page = browser.open("?start=9&paused")
        frames(page, desktop, work)
        music(page)
        keys(page)
        full_screen(page)
        taps(page)
        play_again(page)
        page.pump()
        check(not page.errors, "no error in the console" + "".join("\n      " + e for e in page.errors))


def play_button(folder):
    """Where sound waits for a click: the first picture, paused, under one Play button."""
    with Browser(folder, flags=["--autoplay-policy=document-user-activation-required"], quiet=True) as browser:
        page = browser.open("")
        opened = time.monotonic()
        line = page.wait_line(r"^undertow: the first picture", SLOW)
        if line:
            print(f"      {line} (after {time.monotonic() - opened:.1f} s as the test saw it)")
        button = page.wait_for("(() => { const b = document.getElementById('play'); if (b.hidden) return null; "
                               "const r = b.getBoundingClientRect(); return [r.left + r.width / 2, "
                               "r.top + r.height / 2]; })()", 30)
        if not check(bool(button), "the Play button is over the first picture"):
            return
        check(page.eval(f"{PHASE} === 'paused' && undertowAudioContext().state !== 'running'"),
              "picture and music wait for it")
        page.click(*button)
        check(wait_state(page, "playing") is not False, "the click starts the demo")
        page.sleep(2.0)
        sound = page.eval("[undertowAudioContext().state, undertowMusicSeconds()]")
        check(sound[0] == "running" and sound[1] > 1.0, f"and the music ({sound[0]}, at {sound[1]:.2f} s)")
        check(page.eval("document.getElementById('play').hidden"), "the button goes")
        check(not page.errors, "no error in the console" + "".join("\n      " + e for e in page.errors))


def message_lines(folder):
    message = "document.getElementById('message')"
    shown = f"!{message}.hidden && {message}.textContent"
    with Browser(folder, flags=[AUTOPLAY], quiet=True) as browser:
        page = browser.open("?detail=7")
        text = page.wait_for(shown, SLOW)
        check(text == "In the address: detail takes 0, 1 or 2, not '7'.", f"a bad value: {text!r}")
        page = browser.open("?start=121&colour=red")
        text = page.wait_for(shown, 30)
        check(bool(text) and text.startswith('The address option "colour" is not one of the page\'s'),
              f"an unknown option: {text!r}")
    with Browser(folder, flags=[AUTOPLAY, "--disable-webgl2"], quiet=True) as browser:
        page = browser.open("")
        text = page.wait_for(shown, 30)
        check(bool(text) and "needs WebGL 2" in text and page.eval(f"!!{message}.querySelector('a')"),
              f"no WebGL 2: {text!r}, with a link to the downloads")


def high_resolution(folder, work):
    """800 x 480 CSS pixels at two device pixels each: a 1600 x 960 canvas, the picture drawn at
    twice 640 x 480 into its middle, with bars left and right."""
    with Browser(folder, size="800x480", flags=[AUTOPLAY], quiet=True) as browser:
        page = browser.open("?start=33&paused", pixel_ratio=2)
        if not check(wait_state(page, "paused", 33) is not False, "a high-resolution screen: paused at 33 s"):
            return
        sizes = page.eval("[canvas.width, canvas.height, Module.arguments.join(' ')]")
        check(sizes[:2] == [1600, 960] and "--scale 2" in sizes[2],
              f"the canvas at the pixel ratio, {sizes[0]} x {sizes[1]}, the picture at {sizes[2]}")
        page.wait_for("document.body.classList.contains('idle')", 30)
        page.sleep(0.5)
        shot = os.path.join(work, "page-ratio-2.png")
        page.shot(shot)
        rgb = pixels(shot)
        width = len(rgb) // 3 // 960
        def column_peak(x0, x1):
            return max(max(rgb[(y * width + x) * 3:(y * width + x) * 3 + 3]) for y in range(0, 960, 8)
                       for x in range(x0, x1, 4))
        check(width == 1600 and column_peak(0, 156) == 0 and column_peak(1444, 1600) == 0 and
              column_peak(160, 1440) > 100, "the bars black, the picture between them")


def main():
    folder, desktop, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    started = time.monotonic()
    whole_run(folder, desktop, work)
    play_button(folder)
    message_lines(folder)
    high_resolution(folder, work)
    print(f"{len(failures)} of the checks failed; {time.monotonic() - started:.0f} s in the browser")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

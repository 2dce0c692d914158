#!/usr/bin/env python3
"""Opens the web build in headless Chromium (SwiftShader's WebGL 2) and follows a script.

    scripts/web-check.py [--dir out/web] [--query '?start=20'] [--size 640x480] [--pixel-ratio R]
                         [--flag F]... STEP...

Serves the folder on a free local port, starts chromium-headless-shell with a fresh profile (sound
allowed without a click, unless a --flag sets another --autoplay-policy) and drives it through the
DevTools protocol. Every console line and uncaught exception of the page is printed as it comes,
with the seconds since the page was opened, and so is every message the browser itself logs for
the page (WebGL errors, deprecations). The steps, in order:

    wait:REGEX[:SECONDS]   until a console line matches (default limit 120 s)
    phase:NAME[:SECONDS]   until the run's phase is NAME (loading, catching-up, playing, paused, ended)
    sleep:SECONDS
    key:NAME               a key press on the page (Space, ArrowLeft, PageDown, Tab, Period, ...)
    click:SELECTOR         a mouse click on the middle of the page's element
    tap:X,Y                a finger's tap at page coordinates X, Y
    seek:SECONDS           the page asks the program for a seek there
    shot:FILE.png          a screenshot of the page
    shots:DIR              while the page plays the timeline to its end, one screenshot for each
                           whole second of the demo, DIR/frame_000000.png ... (the run pauses for
                           each, so none is missed on a slow machine)
    eval:EXPRESSION        prints what the expression gives
    cpu:RATE               slows the page's processor RATE times (1: full speed again)

Exits with 1 when a wait runs out or the page throws an exception it does not catch.
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from web_browser import AUTOPLAY, PHASE, SECONDS, Browser  # noqa: E402


def timeline_shots(page, folder):
    """One screenshot per whole second of the demo while the page plays to the end."""
    os.makedirs(folder, exist_ok=True)
    if not page.wait_for(f"['playing', 'paused'].includes({PHASE})", 300):
        return False
    if page.eval(PHASE) == "paused":
        page.eval("undertowPauseOrPlay()")
    next_second = 0
    while True:
        phase, seconds = page.eval(f"[{PHASE}, {SECONDS}]")
        if phase in ("ended", "over"):
            return True
        if phase == "playing" and seconds >= next_second:
            page.eval("undertowPauseOrPlay()")
            if not page.wait_for(f"{PHASE} === 'paused'", 60):
                return False
            page.sleep(0.1)
            page.shot(os.path.join(folder, f"frame_{next_second:06d}.png"))
            next_second = int(page.eval(SECONDS)) + 1
            page.eval("undertowPauseOrPlay()")
            page.wait_for(f"{PHASE} !== 'paused'", 60)
        else:
            page.pump(0.02)


def run(page, steps):
    for step in steps:
        kind, _, rest = step.partition(":")
        ok = True
        if kind == "wait":
            pattern, _, limit = rest.partition(":")
            ok = page.wait_line(pattern, float(limit or 120)) is not None
        elif kind == "phase":
            name, _, limit = rest.partition(":")
            ok = page.wait_for(f"{PHASE} === {name!r}", float(limit or 120)) is not None
        elif kind == "sleep":
            page.sleep(float(rest))
        elif kind == "key":
            page.key(rest)
        elif kind == "click":
            x, y = page.eval(f"(() => {{ const r = document.querySelector({rest!r}).getBoundingClientRect(); "
                             "return [r.left + r.width / 2, r.top + r.height / 2]; })()")
            page.click(x, y)
        elif kind == "tap":
            x, y = (float(v) for v in rest.split(","))
            page.tap(x, y)
        elif kind == "seek":
            page.eval(f"undertowSeekTo({float(rest)})")
        elif kind == "shot":
            page.shot(rest)
        elif kind == "shots":
            ok = timeline_shots(page, rest)
        elif kind == "cpu":
            page.cpu(rest)
        elif kind == "eval":
            page.note(f"{rest} = {page.eval(rest)!r}")
        if not ok:
            print(f"web-check: {step} ran out of time", file=sys.stderr)
            return 1
        page.pump()
    return 1 if page.exceptions else 0


def main():
    args = sys.argv[1:]
    folder, query, size, flags, ratio = "out/web", "", "640x480", [], None
    while args and args[0].startswith("--"):
        option, value = args[0], args[1]
        args = args[2:]
        if option == "--dir":
            folder = value
        elif option == "--query":
            query = value
        elif option == "--size":
            size = value
        elif option == "--flag":
            flags.append(value)
        elif option == "--pixel-ratio":
            ratio = float(value)
    if not any(flag.startswith("--autoplay-policy=") for flag in flags):
        flags.append(AUTOPLAY)
    with Browser(folder, size, flags) as browser:
        return run(browser.open(query, ratio), args)


if __name__ == "__main__":
    sys.exit(main())

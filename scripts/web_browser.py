"""Headless Chromium (SwiftShader's WebGL 2) driven through the DevTools protocol, for the web
build's page: scripts/web-check.py and tests/web/ use it.

    with Browser(folder, size="640x480", flags=[...]) as browser:
        page = browser.open("?start=121&paused")
        page.wait_for("undertow.running")
        page.shot("moment.png")

The folder is served on a free local port. Every console line and uncaught exception of the page,
and every message the browser logs for it (WebGL errors, deprecations), is kept and printed with
the seconds since the page was opened. The browser runs with a fresh profile; on leaving, every
one of its processes ends and the profile goes.
"""
import base64
import http.server
import json
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import threading
import time
import urllib.request

KEYS = {  # name: (key, code, keyCode)
    "Space": (" ", "Space", 32), "ArrowLeft": ("ArrowLeft", "ArrowLeft", 37),
    "ArrowRight": ("ArrowRight", "ArrowRight", 39), "PageUp": ("PageUp", "PageUp", 33),
    "PageDown": ("PageDown", "PageDown", 34), "Home": ("Home", "Home", 36), "Tab": ("Tab", "Tab", 9),
    "Period": (".", "Period", 190), "Escape": ("Escape", "Escape", 27), "F": ("f", "KeyF", 70),
}

# Flags for a browser without a GPU or a display, and nothing that talks to the network.
BASE_FLAGS = ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--disable-gpu",
              "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run"]
# Sound may start without a click (a test has no one to click).
AUTOPLAY = "--autoplay-policy=no-user-gesture-required"

# The run's phase as the page names it (loading, catching-up, playing, paused, ended; "over" once
# the program has exited), and the demo time of the picture shown (-1 outside a run).
PHASE = ("(typeof undertow === 'undefined' ? 'loading' : undertow.running ? "
         "undertow.phases[Module._undertow_phase()] : undertow.ended ? 'over' : 'loading')")
SECONDS = "(typeof undertow !== 'undefined' && undertow.running ? Module._undertow_seconds() : -1)"


class DevTools:
    """A minimal WebSocket client for one DevTools target (text frames, client-masked)."""

    def __init__(self, url):
        host, port, path = re.match(r"ws://([^:/]+):(\d+)(/.*)", url).groups()
        self.sock = socket.create_connection((host, int(port)))
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET {path} HTTP/1.1\r\nHost: {host}:{port}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
        reply = b""
        while b"\r\n\r\n" not in reply:
            reply += self.sock.recv(1)
        if b" 101 " not in reply.split(b"\r\n")[0]:
            raise RuntimeError("DevTools refused the connection: " + reply.decode(errors="replace"))
        self.next_id = 0
        self.events = []
        self.replies = {}
        self.lock = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _exact(self, count):
        data = b""
        while len(data) < count:
            chunk = self.sock.recv(count - len(data))
            if not chunk:
                raise EOFError
            data += chunk
        return data

    def _read(self):
        message = b""
        try:
            while True:
                first, second = self._exact(2)
                length = second & 0x7F
                if length == 126:
                    length = struct.unpack(">H", self._exact(2))[0]
                elif length == 127:
                    length = struct.unpack(">Q", self._exact(8))[0]
                message += self._exact(length)
                if not first & 0x80:
                    continue
                if first & 0x0F in (1, 0):
                    item = json.loads(message)
                    with self.lock:
                        if "id" in item:
                            self.replies[item["id"]] = item
                        else:
                            self.events.append(item)
                        self.lock.notify_all()
                message = b""
        except (EOFError, OSError):
            with self.lock:
                self.events.append({"method": "closed"})
                self.lock.notify_all()

    def call(self, method, **params):
        with self.lock:
            self.next_id += 1
            ident = self.next_id
        payload = json.dumps({"id": ident, "method": method, "params": params}).encode()
        mask = os.urandom(4)
        header = bytes([0x81])
        if len(payload) < 126:
            header += bytes([0x80 | len(payload)])
        elif len(payload) < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(payload))
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        self.sock.sendall(header + mask + masked)
        deadline = time.monotonic() + 120
        with self.lock:
            while ident not in self.replies:
                if time.monotonic() > deadline:
                    raise RuntimeError(f"{method}: no reply from the browser")
                self.lock.wait(1)
            reply = self.replies.pop(ident)
        if "error" in reply:
            raise RuntimeError(f"{method}: {reply['error']}")
        return reply.get("result", {})

    def take_events(self, timeout):
        with self.lock:
            if not self.events:
                self.lock.wait(timeout)
            events, self.events = self.events, []
        return events


def serve(folder):
    """Serves `folder` on a free local port as any static server would; returns the port."""
    handler = lambda *a, **k: http.server.SimpleHTTPRequestHandler(*a, directory=folder, **k)
    http.server.SimpleHTTPRequestHandler.log_message = lambda *a: None
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def end_browser(browser, profile):
    """Ends every process of the browser started with `profile`: the command is a shell script
    whose end would leave the browser itself running, so its whole process group goes, and then
    any process still naming the profile (by its id)."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(browser.pid, sig)
        except ProcessLookupError:
            pass
        try:
            browser.wait(timeout=5)
            break
        except subprocess.TimeoutExpired:
            continue
    for _ in range(10):
        left = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/cmdline", "rb") as cmdline:
                    if f"--user-data-dir={profile}".encode() in cmdline.read():
                        left.append(int(entry))
            except OSError:
                continue
        if not left:
            break
        for pid in left:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        time.sleep(0.2)
    shutil.rmtree(profile, ignore_errors=True)


class Browser:
    def __init__(self, folder, size="640x480", flags=(AUTOPLAY,), quiet=False):
        self.folder, self.size, self.flags, self.quiet = os.path.abspath(folder), size, list(flags), quiet

    def __enter__(self):
        self.port = serve(self.folder)
        self.profile = tempfile.mkdtemp(prefix="undertow-chromium-")
        self.process = subprocess.Popen(
            ["chromium-headless-shell"] + BASE_FLAGS + self.flags +
            [f"--user-data-dir={self.profile}", "--window-size=" + self.size.replace("x", ","),
             "--remote-debugging-port=0", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, start_new_session=True)
        try:
            for line in self.process.stderr:
                found = re.search(r"DevTools listening on ws://127\.0\.0\.1:(\d+)/", line)
                if found:
                    break
            else:
                raise RuntimeError("Chromium did not start")
            threading.Thread(target=lambda: [None for _ in self.process.stderr], daemon=True).start()
            self.debug_port = found.group(1)
        except BaseException:
            end_browser(self.process, self.profile)
            raise
        return self

    def __exit__(self, *exc):
        end_browser(self.process, self.profile)

    def open(self, query="", pixel_ratio=None):
        """Opens the page with `query`; `pixel_ratio` makes the screen one of that many device
        pixels to a CSS pixel, as high-resolution screens are."""
        targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{self.debug_port}/json/list"))
        tools = DevTools(next(t for t in targets if t["type"] == "page")["webSocketDebuggerUrl"])
        if pixel_ratio:
            width, height = (int(v) for v in self.size.split("x"))
            tools.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                       deviceScaleFactor=float(pixel_ratio), mobile=False)
        return Page(tools, f"http://127.0.0.1:{self.port}/index.html{query}", self.quiet)


class Page:
    """One page, opened at `url`: its console, its errors, and ways to act on it."""

    def __init__(self, tools, url, quiet):
        self.tools, self.quiet = tools, quiet
        self.lines = []    # console lines
        self.errors = []   # console errors, uncaught exceptions, errors the browser logged
        self.exceptions = []
        tools.call("Runtime.enable")
        tools.call("Log.enable")
        tools.call("Page.enable")
        self.opened = time.monotonic()
        tools.call("Page.navigate", url=url)

    def note(self, text):
        if not self.quiet:
            print(f"[{time.monotonic() - self.opened:7.2f}] {text}", flush=True)

    def pump(self, timeout=0.0):
        for event in self.tools.take_events(timeout):
            method = event.get("method")
            if method == "Runtime.consoleAPICalled":
                params = event["params"]
                text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
                self.lines.append(text)
                if params.get("type") == "error":
                    self.errors.append(text)
                self.note(text)
            elif method == "Log.entryAdded":
                entry = event["params"]["entry"]
                if entry["level"] == "error":
                    self.errors.append(entry["text"])
                self.note(f"[{entry['source']} {entry['level']}] {entry['text']}")
            elif method == "Runtime.exceptionThrown":
                details = event["params"]["exceptionDetails"]
                text = details.get("exception", {}).get("description", details.get("text"))
                self.errors.append(text)
                self.exceptions.append(text)
                self.note(f"EXCEPTION {text}")
            elif method == "closed":
                raise RuntimeError("the browser closed the connection")

    def sleep(self, seconds):
        until = time.monotonic() + seconds
        while time.monotonic() < until:
            self.pump(min(0.2, max(0.0, until - time.monotonic())))

    def wait_line(self, pattern, limit=120, since=0):
        """Waits until a console line from number `since` on matches; returns it, or None."""
        until = time.monotonic() + limit
        while time.monotonic() < until:
            for line in self.lines[since:]:
                if re.search(pattern, line):
                    return line
            self.pump(0.2)
        return None

    def eval(self, expression):
        result = self.tools.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        self.pump()
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails'].get('text')}")
        return result.get("result", {}).get("value")

    def wait_for(self, expression, limit=120):
        """Waits until `expression` is true on the page; returns its value, or None. While the
        page is still coming in, an expression that throws counts as false."""
        until = time.monotonic() + limit
        while time.monotonic() < until:
            try:
                value = self.eval(expression)
            except RuntimeError:
                value = None
            if value:
                return value
            self.pump(0.2)
        return None

    def key(self, name):
        key, code, key_code = KEYS[name]
        for kind in ("keyDown", "keyUp"):
            self.tools.call("Input.dispatchKeyEvent", type=kind, key=key, code=code, windowsVirtualKeyCode=key_code,
                            nativeVirtualKeyCode=key_code, text=key if kind == "keyDown" and len(key) == 1 else "")
        self.pump()

    def click(self, x, y):
        """A click of the mouse's left button at page coordinates (x, y): a user's gesture."""
        for kind in ("mousePressed", "mouseReleased"):
            self.tools.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)
        self.pump()

    def double_click(self, x, y):
        for count in (1, 2):
            for kind in ("mousePressed", "mouseReleased"):
                self.tools.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=count)
        self.pump()

    def tap(self, x, y):
        """A finger's tap at page coordinates (x, y) on a touch screen."""
        self.tools.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=1)
        self.tools.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.tools.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        self.pump()

    def cpu(self, rate):
        self.tools.call("Emulation.setCPUThrottlingRate", rate=float(rate))

    def shot(self, path):
        data = self.tools.call("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as out:
            out.write(base64.b64decode(data))
        self.note(f"screenshot {path}")

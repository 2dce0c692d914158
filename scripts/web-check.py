#!/usr/bin/env python3
"""Opens the web build in headless Chromium (SwiftShader's WebGL 2) and follows a script.

    scripts/web-check.py [--dir out/web] [--query '?start=20'] [--size 640x480] STEP...

Serves the folder on a free local port, starts chromium-headless-shell with a fresh profile and
drives it through the DevTools protocol. Every console line and uncaught exception of the page
is printed as it comes, with the seconds since the page was opened, and so is every message the
browser itself logs for the page (WebGL errors, deprecations). The steps, in order:

    wait:REGEX[:SECONDS]   until a console line matches (default limit 120 s)
    sleep:SECONDS
    key:NAME               a key press on the page (Space, ArrowLeft, PageDown, Tab, Period, ...)
    shot:FILE.png          a screenshot of the page
    eval:EXPRESSION        prints what the expression gives
    cpu:RATE               slows the page's processor RATE times (1: full speed again)

Exits with 1 when a wait runs out or the page throws an exception it does not catch.
"""
import base64
import http.server
import json
import os
import re
import socket
import struct
import subprocess
import sys
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
        with self.lock:
            while ident not in self.replies:
                self.lock.wait(60)
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
    handler = lambda *a, **k: http.server.SimpleHTTPRequestHandler(*a, directory=folder, **k)
    http.server.SimpleHTTPRequestHandler.log_message = lambda *a: None
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    args = sys.argv[1:]
    folder, query, size = "out/web", "", "640x480"
    while args and args[0].startswith("--"):
        option, value = args[0], args[1]
        args = args[2:]
        if option == "--dir":
            folder = value
        elif option == "--query":
            query = value
        elif option == "--size":
            size = value
    port = serve(os.path.abspath(folder))
    profile = tempfile.mkdtemp(prefix="undertow-chromium-")
    browser = subprocess.Popen(
        ["chromium-headless-shell", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--disable-gpu", "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--autoplay-policy=no-user-gesture-required", f"--user-data-dir={profile}",
         "--window-size=" + size.replace("x", ","), "--remote-debugging-port=0", "about:blank"],
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    try:
        for line in browser.stderr:
            found = re.search(r"DevTools listening on ws://127\.0\.0\.1:(\d+)/", line)
            if found:
                break
        else:
            print("web-check: Chromium did not start", file=sys.stderr)
            return 1
        threading.Thread(target=lambda: [None for _ in browser.stderr], daemon=True).start()
        targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{found.group(1)}/json/list"))
        page = DevTools(next(t for t in targets if t["type"] == "page")["webSocketDebuggerUrl"])
        return run(page, f"http://127.0.0.1:{port}/index.html{query}", args)
    finally:
        browser.terminate()
        browser.wait()


def run(page, url, steps):
    page.call("Runtime.enable")
    page.call("Log.enable")
    page.call("Page.enable")
    opened = time.monotonic()
    page.call("Page.navigate", url=url)
    failed = False
    lines = []

    def pump(timeout):
        nonlocal failed
        for event in page.take_events(timeout):
            stamp = f"[{time.monotonic() - opened:7.2f}]"
            method = event.get("method")
            if method == "Runtime.consoleAPICalled":
                text = " ".join(str(a.get("value", a.get("description", ""))) for a in event["params"]["args"])
                print(stamp, text, flush=True)
                lines.append(text)
            elif method == "Log.entryAdded":
                entry = event["params"]["entry"]
                print(stamp, f"[{entry['source']} {entry['level']}]", entry["text"], flush=True)
            elif method == "Runtime.exceptionThrown":
                details = event["params"]["exceptionDetails"]
                print(stamp, "EXCEPTION", details.get("exception", {}).get("description", details.get("text")),
                      flush=True)
                failed = True
            elif method == "closed":
                raise RuntimeError("the browser closed the connection")

    for step in steps:
        kind, _, rest = step.partition(":")
        if kind == "wait":
            pattern, _, limit = rest.partition(":")
            until = time.monotonic() + float(limit or 120)
            seen = len(lines)
            while not any(re.search(pattern, line) for line in lines[seen:]):
                if time.monotonic() > until:
                    print(f"web-check: no console line matched {pattern!r}", file=sys.stderr)
                    return 1
                pump(0.2)
        elif kind == "sleep":
            until = time.monotonic() + float(rest)
            while time.monotonic() < until:
                pump(min(0.2, max(0.0, until - time.monotonic())))
        elif kind == "key":
            key, code, key_code = KEYS[rest]
            for kind_name in ("keyDown", "keyUp"):
                page.call("Input.dispatchKeyEvent", type=kind_name, key=key, code=code,
                          windowsVirtualKeyCode=key_code, nativeVirtualKeyCode=key_code,
                          text=key if kind_name == "keyDown" and len(key) == 1 else "")
        elif kind == "shot":
            data = page.call("Page.captureScreenshot", format="png")["data"]
            with open(rest, "wb") as out:
                out.write(base64.b64decode(data))
            print(f"[{time.monotonic() - opened:7.2f}] screenshot {rest}", flush=True)
        elif kind == "cpu":
            page.call("Emulation.setCPUThrottlingRate", rate=float(rest))
        elif kind == "eval":
            result = page.call("Runtime.evaluate", expression=rest, returnByValue=True, awaitPromise=True)
            print(f"[{time.monotonic() - opened:7.2f}] {rest} = {json.dumps(result.get('result', {}).get('value'))}",
                  flush=True)
        pump(0.0)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

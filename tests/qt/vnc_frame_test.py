#!/usr/bin/env python3
"""A customer display reached over the network: a call on Qt's vnc platform on a loopback port,
read by the small RFB client below (no authentication, raw encoding; version 3.8, or the 3.3
that Qt's server offers). The dialog must be centred on the 1024 x 768 frame with the side
buttons in their colours; an Escape sent as a VNC key event ends the call.

    vnc_frame_test.py TZC_HOST
"""
import os
import socket
import struct
import subprocess
import sys
import tempfile
import time

WIDTH, HEIGHT = 1024, 768
DIALOG = (730, 378)
LEFT, TOP = (WIDTH - DIALOG[0]) // 2, (HEIGHT - DIALOG[1]) // 2
ESCAPE_KEYSYM = 0xFF1B

# Where the dialog shows what, in its own pixels, and the colour there.
PROBES = [
    ((0, 0), (204, 91, 44), "frame, top-left corner"),
    ((729, 377), (204, 91, 44), "frame, bottom-right corner"),
    ((624, 167), (255, 0, 0), '"Não informar"'),
    ((624, 228), (128, 128, 128), '"Limpar"'),
    ((624, 289), (128, 128, 128), '"Corrrigir"'),
    ((624, 350), (34, 221, 100), '"Confirmar"'),
    ((2, 2), (255, 255, 255), "inside the frame"),
]


class RfbClient:
    def __init__(self, port, deadline):
        while True:
            try:
                self.sock = socket.create_connection(("127.0.0.1", port), timeout=10)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.1)
        server = self.read(12)
        if not server.startswith(b"RFB 003."):
            raise RuntimeError("not an RFB server: %r" % server)
        minor = min(int(server[8:11]), 8)
        self.sock.sendall(b"RFB 003.%03d\n" % minor)
        if minor >= 7:
            count = self.read(1)[0]
            types = self.read(count)
            if 1 not in types:
                raise RuntimeError("the server wants authentication: %r" % types)
            self.sock.sendall(b"\x01")
            if minor >= 8 and struct.unpack(">I", self.read(4))[0] != 0:
                raise RuntimeError("security handshake failed")
        else:
            kind = struct.unpack(">I", self.read(4))[0]
            if kind != 1:
                raise RuntimeError("the server wants security type %d" % kind)
        self.sock.sendall(b"\x01")  # shared
        self.width, self.height = struct.unpack(">HH", self.read(4))
        self.read(16)  # the server's pixel format: ours is asked for below
        self.read(struct.unpack(">I", self.read(4))[0])  # the desktop's name
        # 32-bit big-endian true colour. (Qt 6.4's server sends the pixels of a raw rectangle
        # only when it converts them from its own format, little-endian.)
        self.sock.sendall(struct.pack(">BxxxBBBBHHHBBBxxx", 0, 32, 24, 1, 1, 255, 255, 255, 16, 8, 0))
        self.bpp, self.order = 32, ">"
        self.channels = ((255, 16), (255, 8), (255, 0))
        self.sock.sendall(struct.pack(">BBHi", 2, 0, 1, 0))  # SetEncodings: raw only

    def read(self, size):
        data = b""
        while len(data) < size:
            chunk = self.sock.recv(size - len(data))
            if not chunk:
                raise RuntimeError("the server closed the connection")
            data += chunk
        return data

    def frame(self):
        """The whole frame as rows of (r, g, b)."""
        self.sock.sendall(struct.pack(">BBHHHH", 3, 0, 0, 0, self.width, self.height))
        pixels = [[(0, 0, 0)] * self.width for _ in range(self.height)]
        while True:
            kind = self.read(1)[0]
            if kind == 0:
                break
            if kind == 2:  # bell
                continue
            if kind == 1:  # colour map entries: not asked for
                _, _, count = struct.unpack(">BHH", self.read(5))
                self.read(6 * count)
                continue
            raise RuntimeError("unexpected server message %d" % kind)
        _, rectangles = struct.unpack(">BH", self.read(3))
        size = self.bpp // 8
        code = {1: "B", 2: "H", 4: "I"}[size]
        for _ in range(rectangles):
            x, y, w, h, encoding = struct.unpack(">HHHHi", self.read(12))
            if encoding != 0:
                raise RuntimeError("encoding %d, not raw" % encoding)
            data = self.read(w * h * size)
            values = struct.unpack("%s%d%s" % (self.order, w * h, code), data)
            for row in range(h):
                for column in range(w):
                    value = values[row * w + column]
                    pixels[y + row][x + column] = tuple(
                        ((value >> shift) & top) * 255 // top for top, shift in self.channels)
        return pixels

    def key(self, keysym):
        for down in (1, 0):
            self.sock.sendall(struct.pack(">BBHI", 4, down, 0, keysym))


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def main(host):
    port = free_port()
    environment = dict(os.environ, TZC_SCREEN="window", QT_QPA_PLATFORM="vnc:size=%dx%d:port=%d" % (WIDTH, HEIGHT, port),
                       XDG_RUNTIME_DIR=tempfile.mkdtemp())
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "TZC_INPUT", "TZC_DISPLAY", "QT_SCALE_FACTOR"):
        environment.pop(name, None)
    call = subprocess.Popen([host], env=environment, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    failures = []
    try:
        deadline = time.monotonic() + 20
        client = RfbClient(port, deadline)
        if (client.width, client.height) != (WIDTH, HEIGHT):
            failures.append("frame of %dx%d" % (client.width, client.height))
        # The dialog appears once the call has built it.
        while True:
            pixels = client.frame()
            if pixels[TOP][LEFT] == PROBES[0][1] or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        for (x, y), colour, what in PROBES:
            got = pixels[TOP + y][LEFT + x]
            if got != colour:
                failures.append("%s at %d,%d: %s, not %s" % (what, LEFT + x, TOP + y, got, colour))
        for x, y in ((LEFT - 1, TOP), (LEFT, TOP - 1), (LEFT + DIALOG[0], TOP + DIALOG[1] - 1)):
            if pixels[y][x] == PROBES[0][1]:
                failures.append("the frame reaches %d,%d: the dialog is not centred" % (x, y))
        client.key(ESCAPE_KEYSYM)
        out, err = call.communicate(timeout=20)
        if call.returncode != 0 or not out.startswith("0=\n"):
            failures.append("Escape over VNC: exit %s, %r %s" % (call.returncode, out, err[-300:]))
    finally:
        if call.poll() is None:
            call.kill()
            call.wait()
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("the dialog is centred on the VNC frame, the side buttons in their colours; Escape ended the call")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))

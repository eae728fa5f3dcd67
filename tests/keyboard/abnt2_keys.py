#!/usr/bin/env python3
"""Types the cases of a keyboard table on a real X keyboard and compares what the host gets back.

    abnt2_keys.py [--wine] TABLE HOST [HOST ARGUMENTS...]

Run inside an X server of its own (tests/support/in_xvfb.sh): it sets the Brazilian ABNT2 keymap, starts the
host once per call with its window on that display (tzc-host --screen window, or the Windows
tzc-host.exe through Wine), waits for the dialog's window, and types each case with xdotool at the
name and address steps (one call), the consumer-search step and the e-mail step. Each step's keys
end with Enter, and the next keys wait for the step to change in the host's trace (TZC_TRACE), not
for a fixed time. Exits 1 when an answer differs from the table's, printing every difference.
With --wine the host runs under Wine 8, and a case's "under Wine 8" line, where it has one, gives
the answers wanted instead.
"""
import os
import queue
import re
import subprocess
import sys
import threading
import time

CPF = "5 2 9 9 8 2 2 4 7 2 5".split()
WINDOW = "^TZC04182$"
# The keys that confirm a step themselves: Return, and the keypad's Enter by its key code.
ENTERS = {"Return", "KP_Enter", "104"}
# Each call: the host's parameters, the steps typed, and the slot of each step's answer.
CALLS = [
    ([], ["name", "address"], {"name": 1, "address": 2}),
    (["--param", "14=S"], ["search"], {"search": 7}),
    (["--param", "11=S", "--param", "13=N"], ["email"], {"email": 6}),
]
COLUMNS = ["name", "address", "search", "email"]
UNDER_WINE = "under Wine 8"


def read_table(path, under_wine):
    """The cases, each its keys and answers; under Wine, a case's "under Wine 8" line replaces them."""
    cases = []
    with open(path, encoding="utf-8") as table:
        for line in table:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 1 + len(COLUMNS):
                sys.exit(f"{path}: want {1 + len(COLUMNS)} columns: {line!r}")
            answers = dict(zip(COLUMNS, fields[1:]))
            if fields[0] == UNDER_WINE:
                if not cases:
                    sys.exit(f"{path}: {UNDER_WINE!r} before any case")
                if under_wine:
                    cases[-1] = (cases[-1][0], answers)
                continue
            cases.append((fields[0].split(), answers))
    return cases


def xdotool(*args, timeout=20):
    return subprocess.run(["xdotool", *args], check=True, timeout=timeout, capture_output=True, text=True).stdout


class Trace:
    """The host's trace lines, read as they come; the step lines are what the typing waits for."""

    def __init__(self, stream):
        self.lines = []
        self.steps = queue.Queue()
        self.reader = threading.Thread(target=self.read, args=(stream,), daemon=True)
        self.reader.start()

    def read(self, stream):
        for line in stream:
            self.lines.append(line.rstrip("\n"))
            if line.startswith("step: "):
                self.steps.put(line.split()[1])
        self.steps.put(None)  # the host has ended

    def next_step(self, timeout):
        try:
            return self.steps.get(timeout=timeout)
        except queue.Empty:
            raise RuntimeError(f"no step change in {timeout} s; trace: {self.lines[-5:]}") from None


def type_step(trace, keys):
    """Types a step's keys, which end with Enter, and waits until the host has left the step."""
    xdotool("key", "--delay", "10", *keys)
    trace.next_step(timeout=20)


def call(host, params, typed_steps):
    """One call: the document, then the keys of each step; returns the host's slots."""
    process = subprocess.Popen(host + params, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                               env={**os.environ, "TZC_TRACE": "1"})
    try:
        trace = Trace(process.stderr)
        trace.next_step(timeout=60)  # the first step open, the window shown at its wait
        window = xdotool("search", "--sync", "--onlyvisible", "--name", WINDOW, timeout=60).split()[0]
        xdotool("windowfocus", "--sync", window)
        if not params:
            type_step(trace, CPF + ["Return"])
        for keys in typed_steps:
            type_step(trace, keys if keys and keys[-1] in ENTERS else keys + ["Return"])
        out = process.stdout.read()
        process.wait(timeout=30)
        trace.reader.join(timeout=5)
        err = "\n".join(line for line in trace.lines if not re.match(r"(step|prompt|keypad|display): ", line))
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    slots = {}
    for line in out.splitlines():
        index, _, value = line.partition("=")
        if index.isdigit():
            slots[int(index)] = value
    if not slots:
        raise RuntimeError(f"no answers: {out.strip()} {err.strip()}")
    return slots


def main():
    arguments = sys.argv[1:]
    under_wine = arguments[:1] == ["--wine"]
    if under_wine:
        arguments = arguments[1:]
    if len(arguments) < 2:
        sys.exit(__doc__)
    cases = read_table(arguments[0], under_wine)
    host = arguments[1:]
    # The server resets, and its keymap with it, when its last client goes: one stays connected.
    holder = subprocess.Popen(["xdotool", "sleep", "100000"])
    failures = 0
    try:
        time.sleep(0.3)
        subprocess.run(["setxkbmap", "-model", "abnt2", "-layout", "br"], check=True)
        for keys, expected in cases:
            for params, steps, slots in CALLS:
                try:
                    answers = call(host, params, [keys] * len(steps))
                except (RuntimeError, subprocess.SubprocessError) as error:
                    print(f"FAIL {' '.join(keys)} at {'/'.join(steps)}: {error}")
                    failures += 1
                    continue
                for step in steps:
                    got = answers.get(slots[step])
                    if got != expected[step]:
                        print(f"FAIL {' '.join(keys)} at {step}: got {got!r}, want {expected[step]!r}")
                        failures += 1
                    else:
                        print(f"ok   {' '.join(keys)} at {step}: {got!r}")
    finally:
        holder.kill()
        holder.wait()
    print(f"{failures} of {len(cases) * len(COLUMNS)} answers differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

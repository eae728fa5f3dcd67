#!/usr/bin/env python3
"""Reads what ./bench measured (in the directory given) and prints the table of figures.

Exit status 1 when a figure misses its target or could not be measured."""
import json
import re
import statistics
import sys
from pathlib import Path

results = Path(sys.argv[1])
rows = []      # (figure, target, measured, met: True/False/None)
problems = []


def benchmarks(name):
    path = results / f"{name}.json"
    if not path.exists():
        return {}
    found = {}
    for entry in json.loads(path.read_text())["benchmarks"]:
        found[entry["name"]] = entry
    return found


def us(entry):
    """Time per operation of a benchmark entry, in microseconds."""
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[entry["time_unit"]]
    return entry["real_time"] * scale


def rusage(name):
    path = results / f"{name}.rusage"
    if not path.exists():
        return None
    match = re.search(r"rusage: (.*)", path.read_text())
    if not match:
        return None
    fields = dict(item.split("=") for item in match.group(1).split())
    return {key: float(value) for key, value in fields.items()}


def row(figure, target, measured, met):
    rows.append((figure, target, measured, met))
    if met is None:
        problems.append(figure)


# Idle cost, sleeping against spinning in one run.
idle_runs = benchmarks("idle")
for name, where in (("IdleWait5s", "real-time screen showing nothing"), ("IdleWait5sOffscreen", "Qt offscreen screen")):
    idle = idle_runs.get(f"{name}/iterations:1/real_time")
    figure = f"idle cost, {where}: process CPU time of a 5 s real-time wait, sleeping vs the same wait spinning (one run)"
    if idle and not idle.get("error_occurred"):
        ratio = idle["ratio_pct"]
        row(figure, "< 1 %",
            f"{idle['sleeping_cpu_ms']:.2f} ms vs {idle['spinning_cpu_ms']:.0f} ms = **{ratio:.3f} %** "
            f"({idle['sleeping_loops']:.0f} vs {idle['spinning_loops']:.3g} loop turns)",
            ratio < 1.0)
    else:
        row(figure, "< 1 %", "not measured", None)

voice_runs = benchmarks("voice") | benchmarks("voice-idle")
idle = voice_runs.get("IdleWait5sWithVoice/iterations:1/real_time")
figure = "idle cost with the voice on (`TZC_VOICE=1`, eSpeak NG, its prompt said): 5 s real-time wait, sleeping vs spinning (one run)"
if (results / "null-sound.conf").exists():
    figure += "; no sound card, played into ALSA's null device"
if idle and not idle.get("error_occurred"):
    ratio = idle["ratio_pct"]
    row(figure, "< 1 %", f"{idle['sleeping_cpu_ms']:.2f} ms vs {idle['spinning_cpu_ms']:.0f} ms = **{ratio:.3f} %**", ratio < 1.0)
else:
    row(figure, "< 1 %", "not measured (no eSpeak NG?)", None)
echo = voice_runs.get("KeyToEcho/iterations:50/manual_time")
figure = "a key to its echo's audio made by eSpeak NG, name step (mean of 50; handed to the engine after)"
if echo and not echo.get("error_occurred"):
    value = us(echo)
    row(figure, "< 50 ms", f"**{value / 1000:.2f} ms** (handed after {echo['handed_us']:.0f} µs)", value < 50000)
else:
    row(figure, "< 50 ms", "not measured (no eSpeak NG?)", None)

waited = rusage("offscreen-wait10s")
if waited and waited["exit"] == 0:
    share = 100.0 * waited["cpu_s"] / waited["wall_s"]
    row("`tzc-host --screen offscreen --input '{wait 10s}{Escape}'`: CPU time (user + sys)",
        "—", f"{waited['cpu_s']:.3f} s over {waited['wall_s']:.1f} s ({share:.2f} % of one core)", True)
else:
    row("`tzc-host --screen offscreen --input '{wait 10s}{Escape}'`", "—", "not measured (no offscreen screen?)", None)

# Keystrokes, headless.
headless = benchmarks("headless")
for keyboard, how in ((0, "on-screen key (sent)"), (1, "physical key (posted, dispatched)")):
    times = []
    for step in range(1, 9):
        entry = headless.get(f"KeystrokeAtEachStep/step:{step}/keyboard:{keyboard}/manual_time")
        if entry and not entry.get("error_occurred"):
            times.append((step, us(entry)))
    if len(times) == 8:
        worst_step, worst = max(times, key=lambda item: item[1])
        detail = ", ".join(f"{step}: {value:.2f}" for step, value in times)
        row(f"one keystroke, headless, {how}: slowest of steps 1–8 (all, µs: {detail})",
            "< 20 µs", f"**{worst:.2f} µs** (step {worst_step})", worst < 20.0)
    else:
        row(f"one keystroke, headless, {how}", "< 20 µs", "not measured at every step", None)

offscreen = benchmarks("offscreen")
repaint = offscreen.get("FullRepaint")
if repaint and not repaint.get("error_occurred"):
    value = us(repaint)
    row("one full repaint of the window, offscreen", "< 2 ms", f"**{value / 1000:.3f} ms**", value < 2000.0)
    picture = offscreen.get("PaintIntoPicture")
    if picture and not picture.get("error_occurred"):
        row("one paint of the window into a picture, offscreen", "—", f"{us(picture) / 1000:.3f} ms", True)
    typed = offscreen.get("KeystrokeAndRepaint")
    if typed and not typed.get("error_occurred"):
        row("one keystroke and the repaint after it, offscreen", "—", f"{us(typed) / 1000:.3f} ms", True)
else:
    row("one full repaint of the window, offscreen", "< 2 ms", "not measured (no offscreen screen?)", None)

# The typical call.
first = []
resident = []  # (after loading the module, peak after the first call), KiB
path = results / "first-call.txt"
if path.exists():
    for line in path.read_text().splitlines():
        match = re.search(r"load_us=(\d+) first_call_us=(\d+) loaded_rss_kib=(\d+) peak_rss_kib=(\d+)", line)
        if match:
            first.append((int(match.group(1)), int(match.group(2))))
            resident.append((int(match.group(3)), int(match.group(4))))
if first:
    calls = [call for _, call in first]
    loads = [load for load, _ in first]
    median = statistics.median(calls)
    row(f"typical call, headless, first call of a process ({len(calls)} fresh processes; module load apart: "
        f"median {statistics.median(loads) / 1000:.2f} ms)",
        "< 5 ms", f"**median {median / 1000:.2f} ms**, max {max(calls) / 1000:.2f} ms", median < 5000)
else:
    row("typical call, headless, first call of a process", "< 5 ms", "not measured", None)

later = headless.get("TypicalCall")
if later and not later.get("error_occurred"):
    value = us(later)
    parse = headless.get("ParseTypicalScript")
    aside = f" (of which reading the script: {us(parse):.1f} µs)" if parse else ""
    row("typical call, headless, a later call of the process", "< 1 ms", f"**{value:.1f} µs**{aside}", value < 1000)
else:
    row("typical call, headless, a later call", "< 1 ms", "not measured", None)

# From the call to the first frame on a display (Xvfb).
first_frames, started, later_frames = [], [], []
path = results / "first-frame.txt"
if path.exists():
    for line in path.read_text().splitlines():
        match = re.search(r"first_frame_us=(\d+) qt_started_us=(\d+) later_frame_us=([\d,]+)", line)
        if match:
            first_frames.append(int(match.group(1)))
            started.append(int(match.group(2)))
            later_frames += [int(value) for value in match.group(3).split(",")]
if first_frames:
    median = statistics.median(first_frames)
    row(f"call to the dialog's first frame, Xvfb, first call of a process ({len(first_frames)} fresh processes; "
        f"of which starting Qt on the display: median {statistics.median(started) / 1000:.1f} ms)",
        "< 50 ms", f"**median {median / 1000:.1f} ms**, max {max(first_frames) / 1000:.1f} ms", median < 50000)
    median = statistics.median(later_frames)
    row(f"call to the dialog's first frame, Xvfb, a later call of the process ({len(later_frames)} calls)",
        "< 5 ms", f"**median {median / 1000:.2f} ms**, max {max(later_frames) / 1000:.2f} ms", median < 5000)
else:
    row("call to the dialog's first frame, Xvfb", "< 50 ms / < 5 ms", "not measured (no Qt screen or no Xvfb?)", None)

# Memory.
base = rusage("version")
for name, label in (("headless-typical", "headless"), ("offscreen-typical", "offscreen")):
    run = rusage(name)
    if base and run and run["exit"] == 0:
        extra = (run["maxrss_kib"] - base["maxrss_kib"]) / 1024
        row(f"peak resident size of `tzc-host`, typical call {label}, against `tzc-host --version` (no dialog)",
            "—", f"**{run['maxrss_kib'] / 1024:.1f} MiB** vs {base['maxrss_kib'] / 1024:.1f} MiB (+{extra:.1f} MiB)",
            True)
    else:
        row(f"peak resident size of `tzc-host`, typical call {label}", "—", "not measured", None)

if resident:
    loaded = statistics.median(kib for kib, _ in resident)
    peak = statistics.median(kib for _, kib in resident)
    row("resident size inside one process (`tzc-first-call`, medians): the module loaded / peak after the first "
        "typical call, headless", "—",
        f"{loaded / 1024:.1f} MiB / {peak / 1024:.1f} MiB (the dialog and its call: +{(peak - loaded) / 1024:.2f} MiB)",
        True)

machine = (results / "machine.txt").read_text().strip() if (results / "machine.txt").exists() else "unknown"
print(f"Measured by `./benchmark` on {machine}.\n")
print("| Figure | Target | Measured |")
print("|---|---|---|")
for figure, target, measured, met in rows:
    mark = "" if met is None or target == "—" else (" ✓" if met else " ✗ missed")
    print(f"| {figure} | {target} | {measured}{mark} |")

missed = [figure for figure, target, _, met in rows if met is False]
if missed or problems:
    print("\nMissed or not measured:", "; ".join(missed + problems), file=sys.stderr)
    sys.exit(1)

#!/usr/bin/env python3
"""What the customer feels, measured from outside the process, for one or more builds side by side.

Run under an X server (xvfb-run). For each build (a module, the host program that loads it by path,
and an optional launcher such as scripts/wine-run), in turns so that every build meets the same
noise:
  - call to first frame, key to frame and touch to frame: tzc-x-frames watching the X server,
    PROCESSES fresh processes of CALLS calls each (the first call of each process, the later ones);
  - idle processor time: a call that waits 3 s for a customer who does nothing;
  - resident size after 10 and after 1000 calls, the window kept (each call seen and declined by
    tzc-x-frames);
  - the frames the server showed of the window from its map until the dialog settled, and how many
    of them were not the dialog (black, unpainted, half painted, an earlier customer's answers);
  - with --bare, a bare program of ours that only shows a kept window with the dialog's picture and
    answers a key (tzc-bare-x, tzc-bare-win32), measured in the same turns: the last build's first
    frame, later-call frame and key to frame as ratios to it.
Prints a table with each build's median and the ratio of the first build to the last; exits 1
when the last build misses a goal (a frame that is not the dialog is one) or a figure cannot be
measured.

  outside.py --watcher tzc-x-frames --name NAME [--bare HOST,PICTURE[,LAUNCHER]]
             [--build NAME=HOST,MODULE[,LAUNCHER]]...
"""
import argparse
import os
import statistics
import subprocess
import sys

GOALS = {  # figure: (most the last build may show, unit)
    "first call to first frame": (15.0, "ms"),
    "later call to first frame": (1.0, "ms"),
    "slowest later call": (5.0, "ms"),
    "key to frame": (16.0, "ms"),
    "touch to frame": (16.0, "ms"),
}
BARE_RATIO_GOAL = 1.5  # the last build's figure over the bare window's
BARE = "bare window"


def host_command(build):
    command = [build["host"], build["module"]]
    return ([build["launcher"]] if build.get("launcher") else []) + command


def frames(watcher, build, calls, keys, touches):
    env = dict(os.environ)
    env.pop("TZC_INPUT", None)
    run = subprocess.run([watcher, str(calls), str(keys), str(touches), "--"] + host_command(build),
                         capture_output=True, text=True, timeout=300, env=env)
    line = run.stdout.strip().splitlines()[-1] if run.stdout.strip() else "error: no output " + run.stderr[-300:]
    if not line.startswith("first_frame_us="):
        raise RuntimeError(f"{build['name']}: {line}")
    values = {}
    for field in line.split():
        key, _, numbers = field.partition("=")
        if key == "inputs_sent_again":
            if int(numbers):
                print(f"({build['name']}: {numbers} keys or touches sent again after a second without effect)")
            continue
        values[key] = [float(n) for n in numbers.split(",") if n]
        if key.endswith("_us"):
            values[key] = [v / 1000 for v in values[key]]
    return values


class Host:
    """The host program on pipes, with a script answering its calls."""

    def __init__(self, build, script):
        env = dict(os.environ, TZC_INPUT=script)
        self.process = subprocess.Popen(host_command(build), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True, env=env)
        self.expect("ready")

    def expect(self, prefix):
        line = self.process.stdout.readline().strip()
        if not line.startswith(prefix):
            raise RuntimeError(f"host: {line or 'ended'}")
        return line[len(prefix):].strip()

    def ask(self, command, answer):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        return self.expect(answer)

    def close(self):
        try:
            self.process.stdin.write("quit\n")
            self.process.stdin.close()
        except BrokenPipeError:
            pass
        self.process.wait(timeout=60)


def idle_percent(build, seconds=3):
    host = Host(build, "{wait %ds}{Escape}" % seconds)
    try:
        before = float(host.ask("cpu", "cpu"))
        host.ask("calls 1", "done")
        return 100 * (float(host.ask("cpu", "cpu")) - before) / seconds
    finally:
        host.close()


def resident(watcher, build, calls=1000):
    """The resident size after 10 calls and after `calls`, each call seen and declined from outside."""
    got = frames(watcher, build, calls, 0, 0)
    after_10, after_all = got["rss_kib"][:2]
    return int(after_10), int(after_all)


def parse_build(name, rest):
    parts = rest.split(",")
    return {"name": name, "host": parts[0], "module": parts[1], "launcher": parts[2] if len(parts) > 2 else ""}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--watcher", required=True)
    parser.add_argument("--name", required=True, help="the screen measured, for the table's title")
    parser.add_argument("--build", action="append", required=True, help="NAME=HOST,MODULE[,LAUNCHER]")
    parser.add_argument("--bare", help="HOST,PICTURE[,LAUNCHER]: the bare window, measured in the same turns")
    parser.add_argument("--processes", type=int, default=5)
    parser.add_argument("--calls", type=int, default=21)
    parser.add_argument("--keys", type=int, default=5)
    parser.add_argument("--touches", type=int, default=3)
    parser.add_argument("--memory", action="store_true", help="also the resident size after --memory-calls calls")
    parser.add_argument("--memory-calls", type=int, default=1000)
    args = parser.parse_args()
    builds = [parse_build(*named_build.partition("=")[::2]) for named_build in args.build]
    watched = ([parse_build(BARE, args.bare)] if args.bare else []) + builds

    kinds = ("first", "later", "key", "touch", "read_first", "bad_first", "read_later", "bad_later")
    samples = {b["name"]: {kind: [] for kind in kinds} for b in watched}
    failures = []
    for _ in range(args.processes):
        for build in watched:
            try:
                got = frames(args.watcher, build, args.calls, args.keys, args.touches)
            except (RuntimeError, subprocess.TimeoutExpired) as failure:
                failures.append(str(failure))
                continue
            mine = samples[build["name"]]
            mine["first"] += got["first_frame_us"]
            mine["later"] += got["later_frame_us"]
            mine["key"] += got["key_frame_us"]
            mine["touch"] += got["touch_frame_us"]
            read, bad = got.get("frames_read", []), got.get("frames_not_dialog", [])
            mine["read_first"] += read[:1]
            mine["bad_first"] += bad[:1]
            mine["read_later"] += read[1:]
            mine["bad_later"] += bad[1:]
    idle, memory = {}, {}
    for build in builds:
        try:
            idle[build["name"]] = idle_percent(build)
            if args.memory:
                memory[build["name"]] = resident(args.watcher, build, args.memory_calls)
        except (RuntimeError, subprocess.TimeoutExpired) as failure:
            failures.append(f"{build['name']}: {failure}")

    def median(values):
        return statistics.median(values) if values else None

    rows = []  # (figure, {build: value}, unit)
    rows.append(("first call to first frame", {n: median(s["first"]) for n, s in samples.items()}, "ms"))
    rows.append(("later call to first frame", {n: median(s["later"]) for n, s in samples.items()}, "ms"))
    rows.append(("slowest later call", {n: max(s["later"]) if s["later"] else None for n, s in samples.items()}, "ms"))
    rows.append(("key to frame", {n: median(s["key"]) for n, s in samples.items()}, "ms"))
    rows.append(("slowest key", {n: max(s["key"]) if s["key"] else None for n, s in samples.items()}, "ms"))
    rows.append(("touch to frame", {n: median(s["touch"]) for n, s in samples.items()}, "ms"))
    rows.append(("idle processor time of a 3 s wait", idle, "%"))
    if args.memory:
        rows.append(("resident after 10 calls", {n: m[0] / 1024 for n, m in memory.items()}, "MiB"))
        rows.append((f"resident after {args.memory_calls} calls", {n: m[1] / 1024 for n, m in memory.items()}, "MiB"))
    counted = [("frames read from the map, first calls", "read_first"), ("of them not the dialog", "bad_first"),
               ("frames read from the map, later calls", "read_later"), ("of them not the dialog ", "bad_later")]

    names = [b["name"] for b in builds]
    columns = names + ([BARE] if args.bare else [])
    counts = {n: (len(s["first"]), len(s["later"]), len(s["key"])) for n, s in samples.items()}
    print(f"### {args.name}, seen from the X server")
    print(f"(first calls, later calls, keys measured: {counts})")
    header = "| figure | " + " | ".join(columns) + (" | ratio |" if len(names) > 1 else " |")
    header += " goal |" + (f" {names[-1]} / bare | goal |" if args.bare else "")
    print(header)
    print("|---" * (header.count("|") - 1) + "|")
    last = names[-1]
    for figure, values, unit in rows:
        cells = [f"{values[n]:.3g} {unit}" if values.get(n) is not None else "n/a" for n in columns]
        ratio = ""
        if len(names) > 1:
            first_value, last_value = values.get(names[0]), values.get(last)
            ratio = f" | {first_value / last_value:.1f}x" if first_value and last_value else " | n/a"
        goal = ""
        if figure in GOALS:
            most, goal_unit = GOALS[figure]
            value = values.get(last)
            met = value is not None and value < most
            goal = f"< {most:g} {goal_unit}: {'met' if met else 'MISSED'}"
            if not met:
                failures.append(f"{figure}: {value} {unit}, goal < {most:g}")
        to_bare = ""
        if args.bare:
            to_bare = " | | "
            if figure in ("first call to first frame", "later call to first frame", "key to frame"):
                mine, floor = values.get(last), values.get(BARE)
                if mine is not None and floor:
                    met = mine / floor < BARE_RATIO_GOAL
                    to_bare = f" | {mine / floor:.2f} | < {BARE_RATIO_GOAL:g}: {'met' if met else 'MISSED'}"
                    if not met:
                        failures.append(f"{figure}: {mine / floor:.2f} times the bare window's, goal < {BARE_RATIO_GOAL:g}")
                else:
                    to_bare = " | n/a | "
                    failures.append(f"{figure}: no ratio to the bare window")
        print("| " + figure + " | " + " | ".join(cells) + ratio + f" | {goal}" + to_bare + " |")
    for figure, kind in counted:
        cells = [str(int(sum(samples[n][kind]))) if samples[n][kind] else "n/a" for n in columns]
        goal = ""
        if kind.startswith("bad"):
            bad = int(sum(samples[last][kind]))
            goal = f"0: {'met' if bad == 0 and samples[last][kind] else 'MISSED'}"
            if bad or not samples[last][kind]:
                failures.append(f"{figure.strip()} ({kind.split('_')[1]} calls): {bad} frames")
        print("| " + figure + " | " + " | ".join(cells) + (" |" if len(names) > 1 else "") + f" | {goal}"
              + (" | | " if args.bare else "") + " |")
    if args.memory and last in memory:
        after_10, after_1000 = memory[last]
        if after_1000 - after_10 > 4096:
            failures.append(f"resident size grew {after_1000 - after_10} KiB over {args.memory_calls - 10} calls")
    for failure in failures:
        print("MISS: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

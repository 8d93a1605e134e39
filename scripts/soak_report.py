#!/usr/bin/env python3
"""Checks one run of scripts/soak from the folder it kept: prints the figures
and exits 1 when a check fails.

The folder holds run.txt (minutes, clock ticks, uptime), loads.txt (seconds
since start, deck, kind, title per load; the kind of a one-click load tells
whether the stand-in took it, the load button took the click but the track
did not reach the deck, or the click found no load button to take it),
samples.txt (seconds, CPU ticks, resident kB, threads, open descriptors per
second), threads-*.txt (CPU ticks per thread after warm-up and at the end) and
Kesta's data folder."""

import json
import statistics
import sys
from pathlib import Path

MB = 1024
QUIET_AFTER_LOAD_S = 5  # a load's own work is over by then
RSS_BAND_KB = 5 * MB
CPU_GOAL = 0.05
SCAN_CAPACITY = 2000
FRAME_CAPACITY = 6000
KEPT_SESSIONS = 20


def read_run(folder):
    run = {}
    for line in (folder / "run.txt").read_text().splitlines():
        key, _, value = line.partition(" ")
        run[key] = value
    loads = []
    for line in (folder / "loads.txt").read_text().splitlines():
        at, deck, kind, title = line.split("\t")
        loads.append((float(at), int(deck), kind, title))
    samples = [tuple(float(x) for x in line.split()) for line in (folder / "samples.txt").read_text().splitlines()
               if len(line.split()) == 5]
    return run, loads, samples


class Checks:
    def __init__(self):
        self.failed = []

    def check(self, ok, what):
        print(f"  {'ok  ' if ok else 'FAIL'} {what}")
        if not ok:
            self.failed.append(what)


def check_following(checks, data, loads):
    print("Following")
    events = json.loads((data / "active-set.json").read_text())["events"] if (data / "active-set.json").exists() else []
    sets = sorted((data / "sets").glob("*.json")) if (data / "sets").is_dir() else []
    for path in sets:
        try:
            events += json.loads(path.read_text()).get("events", [])
        except (OSError, ValueError):
            pass
    loaded = [e for e in events if e.get("kind") == "loaded"]
    played = [(deck, title) for _, deck, kind, title in loads]
    followed = [(e.get("deck"), e.get("title")) for e in loaded]
    one_click = [l for l in loads if l[2].startswith("oneclick")]
    taken = [l for l in one_click if l[2] != "oneclick-missed"]
    print(f"  {len(loads)} loads ({sum(1 for l in one_click if l[2] == 'oneclick')} of {len(one_click)} "
          f"one-click loads taken by the stand-in, {len(taken)} clicks taken by the load button), "
          f"{len(loaded)} followed in the set history")
    missing = [p for p in played if p not in followed]
    checks.check(len(taken) == len(one_click), "every one-click click hit the first lane's load button")
    checks.check(not any(l[2] == "oneclick-failed" for l in loads),
                 "every one-click load the button took reached rekordbox")
    checks.check(followed == played, f"every load followed, in order, and no other load ({len(missing)} missed)")
    for deck, title in missing[:5]:
        print(f"       missed: Deck {deck} {title}")
    # Suggestions: the lanes shown after each load, before the next one.
    empty = 0
    lanes_after = []
    for i, e in enumerate(events):
        if e.get("kind") != "loaded":
            continue
        lanes = set()
        for later in events[i + 1:]:
            if later.get("kind") == "loaded":
                break
            if later.get("kind") == "shown":
                lanes.add(later.get("lane"))
        lanes_after.append(len(lanes))
        empty += len(lanes) < 3
    checks.check(bool(lanes_after) and empty == 0,
                 f"suggestions in at least 3 lanes after every load (fewest {min(lanes_after, default=0)})")
    return events


def check_diagnostics(checks, data, loads):
    print("Diagnostics")
    files = sorted((data / "diagnostics").glob("session-*.json"))
    checks.check(0 < len(files) <= KEPT_SESSIONS, f"{len(files)} session file(s), at most {KEPT_SESSIONS}")
    if not files:
        return None
    newest = files[-1]
    session = json.loads(newest.read_text())
    log = session["log"]
    size = newest.stat().st_size
    counts = {name: len(log.get(name) or []) for name in ("scans", "latencies", "loopGapsMs", "rankMs", "frames")}
    print(f"  newest file {size / MB:.0f} kB: " + ", ".join(f"{n} {c}" for n, c in counts.items()))
    checks.check(all(counts[n] <= log["capacity"] <= SCAN_CAPACITY for n in ("scans", "latencies", "loopGapsMs", "rankMs"))
                 and counts["frames"] <= FRAME_CAPACITY, "lists within their caps")
    summary = log["summary"]
    print(f"  scans {summary['scans']}, loads {summary['loads']}, focus changes {summary['focusChanges']}, "
          f"capture failures {summary['captureFailures']}, changes rejected {summary['changesRejected']}, "
          f"unloads {summary['unloads']}")
    checks.check(summary["loads"] == len(loads) and counts["latencies"] == min(len(loads), log["capacity"]),
                 f"the engine confirmed {summary['loads']} loads, {counts['latencies']} timed, for {len(loads)} made")
    checks.check(summary["captureFailures"] == 0, "no failed capture")
    # Kesta counts each click its load button acts on by how it ended.
    outcomes = {k: v for k, v in (summary.get("oneClick") or {}).items() if not k.startswith("undo")}
    taken = sum(1 for l in loads if l[2] in ("oneclick", "oneclick-failed"))
    print("  one-click loads in Kesta's log: " +
          (", ".join(f"{k} {v}" for k, v in sorted(outcomes.items())) or "none"))
    checks.check(sum(outcomes.values()) == taken, f"Kesta logged one outcome for each of the {taken} clicks "
                 "its load button took")
    latencies = [l["evidenceToConfirmMs"] + l["confirmToRankMs"] + l["rankToPublishMs"] for l in log["latencies"]]
    if latencies:
        print(f"  load to suggestions: median {statistics.median(latencies):.0f} ms, max {max(latencies):.0f} ms")
    scans = log["scans"]
    if scans:
        def mean(key, only_run=False):
            values = [s[key] for s in scans if not only_run or s[key] > 0]
            return statistics.fmean(values) if values else 0.0
        ocr_runs = [s for s in scans if s["ocrMs"] > 0]
        print(f"  last {len(scans)} scans: capture {mean('captureMs'):.1f} ms, recognition {mean('ocrMs'):.1f} ms "
              f"(in {len(ocr_runs)} scans, {mean('ocrMs', True):.1f} ms each), match {mean('matchMs'):.2f} ms per scan")
        span = scans[-1]["at"] - scans[0]["at"]
        if span > 0:
            per_second = {key: sum(s[key] for s in scans) / span
                          for key in ("captureMs", "ocrMs", "matchMs", "trackerMs")}
            print(f"  per second of the set (real time): capture {per_second['captureMs']:.1f} ms, "
                  f"recognition {per_second['ocrMs']:.1f} ms, match {per_second['matchMs']:.2f} ms, "
                  f"tracker {per_second['trackerMs']:.2f} ms, {len(scans) / span:.2f} scans")
        rules = {}
        for s in scans:
            for deck in ("deck1", "deck2"):
                rules[s[deck]] = rules.get(s[deck], 0) + 1
        print("  readings: " + ", ".join(f"{k} {v}" for k, v in sorted(rules.items(), key=lambda kv: -kv[1])))
    return session


def window(samples, start):
    return [s for s in samples if s[0] >= start]


def check_process(checks, run, loads, samples, folder):
    print("Process")
    ticks = float(run["ticks"])
    minutes = float(run["minutes"])
    if len(samples) < 10:
        checks.check(False, "samples of the process")
        return
    end = samples[-1][0]
    # Warm-up: the first third of the run (10 of 30 minutes), and at least up
    # to the first one-click load, which starts the loader's own recogniser.
    first_click = min((l[0] for l in loads if l[2].startswith("oneclick")), default=0)
    warm = min(max(end - minutes * 60 * 2 / 3, first_click + QUIET_AFTER_LOAD_S), end - 60)
    steady = window(samples, warm)
    # The resting level: the last sample before each load, when the previous
    # load's work (a one-click load's picture of the browser) is long over.
    resting = []
    for at in [l[0] for l in loads if l[0] >= warm] + [end + 1]:
        before = [s for s in steady if s[0] < at]
        if before:
            resting.append(before[-1])
    rss = [s[2] for s in resting]
    base = rss[0]
    peak = max(s[2] for s in steady)
    print(f"  resident memory: {samples[0][2] / MB:.1f} MB at start, {base / MB:.1f} MB after warm-up "
          f"({warm / 60:.1f} min), {rss[-1] / MB:.1f} MB at the end; resting {min(rss) / MB:.1f}–"
          f"{max(rss) / MB:.1f} MB since, peak {peak / MB:.1f} MB")
    minutes_seen = {}
    for s in samples:
        minutes_seen.setdefault(int(s[0] // 60), s[2])
    per_minute = [f"{rss_kb / MB:.0f}" for rss_kb in minutes_seen.values()]
    print(f"  resident MB each minute: {' '.join(per_minute)}")
    checks.check(max(abs(r - base) for r in rss) <= RSS_BAND_KB,
                 f"resting resident memory within ±5 MB over the last {(end - warm) / 60:.1f} minutes")
    for column, name in ((3, "threads"), (4, "open file descriptors")):
        values = [s[column] for s in steady]
        half = len(values) // 2
        print(f"  {name}: {int(samples[0][column])} at start, {int(values[0])} after warm-up, {int(values[-1])} at the end, "
              f"most {int(max(values))}")
        checks.check(values[-1] <= values[0] and max(values[half:]) <= max(values[:half]), f"no growth of {name}")
    # CPU between loads: from a few seconds after a load to the next one.
    starts = [l[0] for l in loads] + [end]
    busy = quiet = 0.0
    for begin, until in zip(starts, starts[1:]):
        part = [s for s in samples if begin + QUIET_AFTER_LOAD_S <= s[0] <= until]
        if len(part) >= 2:
            busy += (part[-1][1] - part[0][1]) / ticks
            quiet += part[-1][0] - part[0][0]
    whole = (samples[-1][1] - samples[0][1]) / ticks / (samples[-1][0] - samples[0][0])
    between = busy / quiet if quiet else 0.0
    print(f"  CPU: {100 * whole:.1f} % of one core over the whole set, {100 * between:.1f} % between loads "
          f"({quiet / 60:.1f} min measured), {samples[-1][1] / ticks:.0f} s in all")
    checks.check(between <= CPU_GOAL, "CPU between loads at most 5 % of one core")
    warm_threads, end_threads = folder / "threads-warm.txt", folder / "threads-end.txt"
    if warm_threads.exists() and end_threads.exists() and "threads-warm" in run and "threads-end" in run:
        def per_thread(path):
            totals = {}
            for line in path.read_text().splitlines():
                name, _, value = line.rpartition("\t")
                totals[name] = float(value)
            return totals
        before, after = per_thread(warm_threads), per_thread(end_threads)
        seconds = float(run["threads-end"]) - float(run["threads-warm"])
        shares = sorted(((after[n] - before.get(n, 0)) / ticks / seconds, n) for n in after)
        print(f"  per thread over the last {seconds / 60:.1f} minutes: " +
              ", ".join(f"{n} {100 * share:.1f} %" for share, n in reversed(shares) if share >= 0.0005))


def main():
    folder = Path(sys.argv[1])
    run, loads, samples = read_run(folder)
    print(f"Soak of {run['minutes']} minutes in {folder}")
    for key in ("wm", "uptime-start", "uptime-end", "kesta-exit"):
        if key in run:
            print(f"  {key}: {run[key].strip()}")
    checks = Checks()
    checks.check(run.get("kesta-exit") == "0", "Kesta quit cleanly")
    data = folder / "data"
    check_following(checks, data, loads)
    check_diagnostics(checks, data, loads)
    check_process(checks, run, loads, samples, folder)
    print("soak: " + ("every check passed" if not checks.failed else f"{len(checks.failed)} check(s) failed"))
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())

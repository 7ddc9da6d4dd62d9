#!/usr/bin/python3
"""Writes docs/performance.md from script/bench's measures, the one place that words them:
  docs/bench/latest.txt    the newest figures, one a line
  docs/bench/previous.txt  the lines they replaced, shown in brackets as the figures before
  docs/bench/notes.md      written by hand: a section whose heading is one of ours follows that
                           section, the rest ("## Where the time goes" on) ends the document
A line: PART COMMIT DATE LOAD KIND VALUE...
  PART    offscreen, video, master or web: what script/bench measures and replaces together
  COMMIT  the commit measured, DATE when (2026-12-09T12:05Z), LOAD the load average (1, 5 and
          15 min) before the measurement, as 1.02,3.29,5.25 ("-": not known or not one)
The kinds are those that script/bench and tools/bench/web.py print; an engine that was not
measured has a line "not-measured ENGINE WHY..." and shows "-".
Usage: report.py [DOCS]   prints the document (DOCS: the docs/ folder, the default)"""
import collections
import os
import sys
import textwrap

Line = collections.namedtuple("Line", "part commit date load kind values")
ENGINES = {"chromium": "Chromium", "firefox": "Firefox", "webkit": "WebKitGTK"}
# The goals the figures are held to (ms, or fps).
FPS_GOAL = 60
STARTUP_GOAL = 150
OPEN_GOALS = {"slow-4G": (2000, 4000), "fast-4G": (1000, 2000)}  # the question, the music
LATE_ANSWER_GOAL = 300  # the first frame after an answer given once everything has loaded
CPU_GOALS = {("4", "first"): 1500, ("4", "second"): 500}
SEEK_GOALS = (300, 1000)  # median, longest


class Figures:
    def __init__(self, path):
        self.lines = []
        if not os.path.exists(path):
            return
        with open(path) as f:
            for number, text in enumerate(f, 1):
                fields = text.split()
                if not fields:
                    continue
                if len(fields) < 5:
                    sys.exit(f"{path}:{number}: not PART COMMIT DATE LOAD KIND VALUE...: {text.strip()}")
                self.lines.append(Line(*fields[:5], fields[5:]))

    def all(self, kind, *head):
        """The lines of that kind whose first values are head."""
        return [line for line in self.lines if line.kind == kind and line.values[:len(head)] == list(head)]

    def part(self, part):
        """A part's one-figure lines (KIND VALUE) as a dict, and its first line."""
        lines = [line for line in self.lines if line.part == part]
        return {line.kind: " ".join(line.values) for line in lines}, lines[0] if lines else None

    def one(self, kind, *head):
        found = self.all(kind, *head)
        return found[0] if found else None

    def get(self, kind, *head):
        """The value after head on the first such line; None where there is none."""
        line = self.one(kind, *head)
        return " ".join(line.values[len(head):]) if line else None

    def engines(self):
        """The engines measured or said not to be, Chromium first."""
        named = {line.values[0] for line in self.all("browser") + self.all("not-measured")}
        return [e for e in ENGINES if e in named]


def when(line):
    date = "" if line.date == "-" else f", {line.date.replace('T', ' ').rstrip('Z')} UTC"
    return f"commit {line.commit}{date}"


def load(line):
    return line.load.replace(",", ", ")


def seconds(ms, digits=1):
    return f"{float(ms) / 1000:.{digits}f} s"


def measured(value):
    return value is not None and value != "-"


def para(say, text):
    say(textwrap.fill(text, width=100))
    say("")


def table(say, head, rows, align):
    """A Markdown table; align: each column's, l or r (numbers)."""
    say("| " + " | ".join(head) + " |")
    say("|" + "".join("---:|" if a == "r" else "---|" for a in align))
    for row in rows:
        say("| " + " | ".join(row) + " |")
    say("")


def offscreen(now, say):
    first = now.one("scene", "1024x768")
    if not first:
        return
    say("## Frames per second of each scene, offscreen")
    say("")
    para(say, f"The demo from 0 to {now.part('offscreen')[0]['length']} s on its 60 fps synthetic clock; each "
         "frame is timed from the dispatcher call to glFinish; the first 10 frames of each visit are warm-up and "
         f"left out. Goal: {FPS_GOAL} fps at 1024x768. Measured at {when(first)}; load before: {load(first)}.")
    rows = []
    for line in now.all("scene", "1024x768"):
        scene, frames, fps, *name = line.values[1:]
        small = now.one("scene", "800x600", scene)
        rows.append([f"{scene} {' '.join(name)}", frames, fps, small.values[3] if small else "-",
                     "yes" if float(fps) >= FPS_GOAL else "**no**"])
    table(say, ["scene", "frames", "fps at 1024x768", "fps at 800x600", "goal met"], rows, "lrrrl")
    start = now.one("startup", "startup")
    if not start:
        return
    say("## Start-up and re-creation")
    say("")
    say(f"Offscreen backend, median of {start.values[1]} runs (load before: {load(start)}). Start-up: OpenDemoWindow")
    say("to the first finished frame, the 23 pictures decoded and uploaded. The offscreen edition has")
    say("no sound output: its sound step reads the sound list and decodes no music.")
    say("Re-creation: one F1-style teardown and new context at 1024x768, to its first frame.")
    say(f"Goal: {STARTUP_GOAL} ms each.")
    say("")
    labels = {"startup": "start-up, in all", "window": "- window, context, 23 textures",
              "sound": "- sound list (no sound output, no music decoded)", "frame": "- first frame",
              "recreate": "F1-style re-creation"}
    table(say, ["step", "ms"], [[label, now.one("startup", step).values[2]] for step, label in labels.items()
                                 if now.one("startup", step)], "lr")


def videos(now, say):
    say("## The whole demo as a video")
    say("")
    video, line = now.part("video")
    length = f"{float(video['length']):.0f}" if video else "-"
    say("`kelvorin-capture --video demo.mp4`: 1024x768, 60 fps, H.264 CRF 18, AAC. Goal: at least")
    say(f"1x real time ({length} s of video in at most {length} s).")
    say("")
    if video:
        para(say, f"**{video['ratio']}x real time**: {video['length']} s of video in {video['wall']} s of wall time "
             f"({when(line)}, load before: {load(line)}).")
        para(say, f"Processor time of renderer and encoder together: {video['processor']} s ({video['user']} user, "
             f"{video['system']} system), {video['busy']} cores busy on average; on {video['cores']} idle cores it "
             f"could not take less than {video['least']} s. File size: {video['size']} MB.")
    else:
        para(say, "Not measured.")
    say("`kelvorin-capture --video master.mp4 --preset upload --supersample 2`: 2880x2160 drawn at 5760x4320")
    say("and filtered down, 60 fps, H.264 High CRF 18, AAC-LC at 48 kHz and 384 kbit/s.")
    say("")
    master, line = now.part("master")
    if master:
        para(say, f"**{master['ratio']}x real time**: {master['length']} s of video in {master['wall']} s "
             f"({master['minutes']} min) of wall time, {master['fps']} frames a second ({when(line)}, load before: "
             f"{load(line)}).")
        para(say, f"Processor time: {master['processor']} s in all, {master['busy']} cores busy on average; the renderer "
             f"(drawing, read-back and the filter) {master['renderer']} s, the encoder (ffmpeg: colour conversion, "
             f"x264, AAC) {master['encoder']} s. File size: {master['size']} MB.")
    else:
        para(say, "Not measured.")


def network_name(now, kind, name):
    """slow 4G (1.6 Mbit/s down, 750 kbit/s up, 150 ms), from the network's line."""
    line = now.one(kind, name)
    label = "no throttling" if name == "none" else name.replace("-", " ")
    if not line or not measured(line.values[1]):
        return label
    latency, down, up = line.values[1], float(line.values[2]) / 1e6, line.values[3]
    if not measured(up) or float(up) / 1e6 == down:
        return f"{label} ({down:g} Mbit/s, {latency} ms)"
    return f"{label} ({down:g} Mbit/s down, {float(up) / 1000:g} kbit/s up, {latency} ms)"


def bracket(before, goal):
    shown = [x for x in (before, goal) if x]
    return f" ({', '.join(shown)})" if shown else ""


def opening(now, was, say):
    visits = now.all("first-visit")
    if visits:
        runs = visits[0].values[2]
        old = was.one("first-visit")
        say("Each visit in a fresh browser with an empty cache, through Chromium's network throttling (CDP),")
        say(f"answering the question the moment it is there; the median of {runs} visits. In brackets: the")
        say(f"figures before ({when(old)}), the goal." if old else "goal.")
        say("")
        rows = []
        for line in visits:
            name, answer, _, question, music, after, size = line.values
            before = was.one("first-visit", name, answer)
            b = before.values[3:] if before else ["-"] * 4
            goal_q, goal_m = OPEN_GOALS.get(name, (None, None))
            if answer == "0":
                rows.append([network_name(now, "network", name),
                             f"**{seconds(question)}**" + bracket(measured(b[0]) and seconds(b[0]),
                                                                  goal_q and "≤ " + seconds(goal_q)),
                             f"**{seconds(music)}**" + bracket(measured(b[1]) and seconds(b[1]),
                                                               goal_m and "≤ " + seconds(goal_m)),
                             f"{after} ms" + bracket(measured(b[2]) and seconds(b[2]), None),
                             f"{float(size) / 1000:.0f} kB"])
            else:
                rows.append([f"{network_name(now, 'network', name)}, answering after {seconds(answer, 0)}", "-",
                             seconds(music), f"**{after} ms**" + bracket(measured(b[2]) and seconds(b[2]),
                                                                        f"≤ {LATE_ANSWER_GOAL} ms"),
                             f"{float(size) / 1000:.0f} kB"])
        table(say, ["network", "start question", "playing with music, from opening the link",
                    "first frame after the answer", "bytes before the first frame"], rows, "lrrrr")
    parts = now.all("loaded", "slow-4G")
    if parts:
        say("When each part was there, on slow 4G (median, s from opening the link): " + ", ".join(
            f"{line.values[1]} {float(line.values[2]) / 1000:.1f}"
            for line in sorted(parts, key=lambda line: float(line.values[2]))) + ".")
        say("")
    second = now.one("second-visit")
    if second:
        _, question, music, size = second.values
        say(f"A second visit in the same browser, once the service worker keeps the site: the question at {question} ms,")
        say(f"the music playing at {seconds(music)}, and **{size} bytes** through the network: everything comes from the")
        say(f"worker's cache, and the browser's look at `sw.js` ({float(now.get('site', 'sw.js') or 0) / 1000:.1f} kB) "
            "is the only check for a new release.")
        say("")
    opened = now.all("open")
    if opened:
        engines = now.engines()
        para(say, "The same in each engine, through `tools/browser/serve.py`'s own throttle, which every engine "
             "meets alike (every answer waits the latency before its headers, the bodies share the rate): "
             + " and ".join(network_name(now, "line", n) for n in dict.fromkeys(line.values[1] for line in opened))
             + f"; each visit in a fresh browser, answering at once, the median of {opened[0].values[2]}.")
        rows = []
        for name in dict.fromkeys(line.values[1] for line in opened):
            for label, index, shown in [("start question", 3, seconds), ("playing with music", 4, seconds),
                                        ("first frame after the answer", 5, lambda v: f"{v} ms")]:
                cells = []
                for engine in engines:
                    line = now.one("open", engine, name)
                    runs = ("" if not line or line.values[2] == opened[0].values[2] else
                            f" ({line.values[2]} visit{'' if line.values[2] == '1' else 's'})")
                    cells.append(shown(line.values[index]) + runs if line and measured(line.values[index]) else "-")
                rows.append([f"{network_name(now, 'line', name).split(' (')[0]}: {label}"] + cells)
        table(say, ["measure"] + [ENGINES[e] for e in engines], rows, "l" + "r" * len(engines))


def not_measured(now, say):
    lines = now.all("not-measured")
    if lines:
        say("Failed twice, so measured in part or not at all: " + "; ".join(f"{ENGINES[line.values[0]]}, {' '.join(line.values[1:])}"
                                         for line in lines) + ".")
        say("")


def cpu(now, was, say):
    visits = now.all("cpu-visit")
    if not visits:
        return
    say("### The first frame on a slower processor")
    say("")
    old = was.one("cpu-visit")
    para(say, "`tools/bench/web.py SITE --cpu` (its `cpu-visit` lines): the processor throttled as Lighthouse's "
         "mobile profile throttles it (CDP `Emulation.setCPUThrottlingRate`), no network throttling, answering the "
         "moment the question is there; ms from the answer to the first frame, median of "
         f"{visits[0].values[2]}. First visit: a fresh browser; second: the same one once the service worker keeps "
         "the site and the page keeps its pictures. In brackets: "
         + (f"the figures before ({when(old)}), " if old else "") + f"the goal. Measured at {when(visits[0])}.")
    rows = []
    for rate in dict.fromkeys(line.values[0] for line in visits):
        row = ["as is" if rate == "1" else f"{rate}× slower"]
        for which in ["first", "second"]:
            line = now.one("cpu-visit", rate, which)
            before = was.one("cpu-visit", rate, which)
            goal = CPU_GOALS.get((rate, which))
            value = f"{line.values[3]} ms" if line else "-"
            row.append((f"**{value}**" if goal else value)
                       + bracket(before and f"{before.values[3]} ms", goal and "≤ " + seconds(goal)))
        rows.append(row)
    table(say, ["processor", "first visit", "second visit"], rows, "lrr")


def lighthouse_metric(name, value):
    value = float(value)
    if name == "total-byte-weight":
        return f"{value / 1e6:.2f} MB"
    if name == "cumulative-layout-shift":
        return f"{value:.3f}"
    return seconds(value) if value >= 1000 and name != "total-blocking-time" else f"{value:.0f} ms"


def lighthouse(now, was, say):
    version = now.get("lighthouse-version")
    if not version:
        return
    say(f"### Lighthouse {version}")
    say("")
    say("Its mobile defaults (a phone on slow 4G, simulated), on the page as `tools/browser/serve.py` serves")
    say("it (gzip, byte ranges, a year's caching for the files named by their content).")
    old = was.one("lighthouse-score")
    if old:
        say(f"Before: {when(old)}.")
    say("")
    table(say, ["category", "score", "before"],
          [[line.values[0], f"**{line.values[1]}**", was.get("lighthouse-score", line.values[0]) or "-"]
           for line in now.all("lighthouse-score")], "lrr")
    rows = []
    for line in now.all("lighthouse-metric"):
        name, value = line.values
        before = was.get("lighthouse-metric", name)
        rows.append([name, lighthouse_metric(name, value), lighthouse_metric(name, before) if before else "-"])
    table(say, ["metric", "value", "before"], rows, "lrr")


def site(now, was, say):
    total = now.get("site", "total")
    if not total:
        return
    groups = {"music": "the music (MP3, streamed)", "program": "the program (kelvorin.js, kelvorin.wasm)",
              "art": "the picture generator, its worker and fonts",
              "icons": "the icons (the tab's, the home screen's and the stores')"}
    before = was.one("site", "total")
    say(textwrap.fill(
        f"The site, each file compressed with gzip -6 as a web server sends it: **{float(total) / 1e6:.2f} MB** "
        + (f"({float(before.values[1]) / 1e6:.2f} MB before, {when(before)})" if before else "") + ": "
        + ", ".join(f"{label} {float(now.get('site', group)) / 1000:.0f} kB" for group, label in groups.items())
        + f", the page itself (HTML, CSS, modules, manifest, service worker) "
        f"{float(now.get('site', 'page')) / 1000:.0f} kB. Only the music is large, and it streams while it plays.",
        width=100))
    say("")


def frames(now, say):
    engines = now.engines()
    if not now.all("scene"):
        return
    say("### Frames and seeking")
    say("")
    canvas = now.get("canvas", engines[0]) or "800x600"
    say("Frames per second of each scene (in brackets, the readings), read from `window.kelvorin.fps` four")
    say(f"times a second while the demo plays in an {canvas} canvas; a reading counts for a scene when the")
    say("whole second before it lies within that scene (scene 45 lasts one second and has none).")
    say(f"Goal: {FPS_GOAL} fps, which is also the most a browser draws on a 60 Hz display.")
    say("")
    order = dict.fromkeys(tuple(line.values[1:2] + line.values[4:]) for e in engines for line in now.all("scene", e))
    rows = []
    for scene, *name in order:
        cells, met = [], []
        for engine in engines:
            line = now.one("scene", engine, scene)
            if line and measured(line.values[3]):
                cells.append(f"{line.values[3]} ({line.values[2]})")
                met.append(float(line.values[3]) >= FPS_GOAL - 0.5)
            else:
                cells.append("-")
        rows.append([f"{scene} {' '.join(name)}"] + cells + ["-" if not met else "yes" if all(met) else "**no**"])
    table(say, ["scene"] + [f"{ENGINES[e]} fps" for e in engines] + ["goal met"], rows, "l" + "r" * len(engines) + "l")
    seeks = now.one("seek", engines[0])
    jumps = seeks.values[1] if seeks else "20"
    say(f"Seeking while the demo plays, from `kelvorin.seek(ms)` to the frame on the canvas: {jumps} jumps")
    say(f"across every scene (5 s to 170 s among them) once the snapshots are made (goal: a median of at most")
    say(f"{SEEK_GOALS[0]} ms, at most {SEEK_GOALS[1] / 1000:g} s for any jump); when the snapshots reach the seek "
        "bar's end after the demo")
    say("starts; and a jump to 170 s in the very first frames, before any snapshot is made.")
    say("")
    rows = [["median jump"], ["longest jump"], ["snapshots to the end"], ["170 s at the start"]]
    for engine in engines:
        seek, ready, cold = now.one("seek", engine), now.get("ready", engine), now.get("cold", engine)
        rows[0].append(f"**{seek.values[2]} ms**" if seek else "-")
        rows[1].append(f"**{seek.values[3]} ms**" if seek else "-")
        rows[2].append(f"{ready} s" if ready else "-")
        rows[3].append(f"{cold} ms" if cold else "-")
    table(say, ["seeking"] + [ENGINES[e] for e in engines], rows, "l" + "r" * len(engines))


def browser_edition(now, was, say, notes):
    first = next((line for line in now.lines if line.part == "web" and line.kind == "browser"), None)
    if not first:
        return
    say("## The browser edition")
    say("")
    versions = {line.values[0]: " ".join(line.values[1:]) for line in now.all("browser")}
    others = [f"{ENGINES[e]} {versions[e]}" for e in ["firefox", "webkit"] if e in versions]
    para(say, f"`script/web`'s site in headless Chromium {versions.get('chromium', '-')}, WebGL 2 on SwiftShader "
         "(through ANGLE)" + (f", and in {' and '.join(others)}, each on an Xvfb of its own, WebGL 2 on llvmpipe"
                              if others else "")
         + f", on the same machine, measured by `tools/bench/web.py` at {when(first)}. Load before: {load(first)}.")
    not_measured(now, say)
    say("### Opening the link")
    say("")
    opening(now, was, say)
    cpu(now, was, say)
    say(notes.pop("### The first frame on a slower processor", "").lstrip("\n"), end="")  # our heading
    lighthouse(now, was, say)
    site(now, was, say)
    frames(now, say)


def read_notes(path):
    """The hand-written sections by heading, in their order: heading -> the text under it."""
    notes = {}
    heading = None
    with open(path) as f:
        for text in f:
            if text.startswith("#"):
                heading = text.rstrip("\n")
                notes[heading] = ""
            else:
                notes[heading] += text
    return notes


def main():
    docs = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                                              "docs")
    now = Figures(os.path.join(docs, "bench", "latest.txt"))
    was = Figures(os.path.join(docs, "bench", "previous.txt"))
    notes_path = os.path.join(docs, "bench", "notes.md")
    notes = read_notes(notes_path) if os.path.exists(notes_path) else {}
    out = []

    def say(text, end="\n"):
        out.append(text + end)

    say("# Performance")
    say("")
    say("Written by `script/bench` from its figures in `docs/bench/latest.txt` (those they replaced, in")
    say("`docs/bench/previous.txt`, are the figures before); each part says at which commit it was measured.")
    say("")
    machine, _ = now.part("offscreen")
    if "machine" in machine:
        say(f"Machine: {machine['machine']}, {machine['cores']} cores, {machine['renderer']}.")
    say("Other work shares this machine, so every number carries noise; the load average")
    say("(1, 5, 15 min) is taken before each measurement.")
    say("")
    try:
        offscreen(now, say)
        videos(now, say)
        browser_edition(now, was, say, notes)
    except (IndexError, KeyError, ValueError) as e:
        sys.exit(f"report.py: a figure in {docs}/bench/ is missing or not as script/bench writes it: {e!r}")
    for heading, text in notes.items():
        say(heading)
        say(text, end="")
    sys.stdout.write("".join(out).rstrip("\n") + "\n")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Measures the browser edition in headless Chromium (SwiftShader) on this machine, for
script/bench. Prints, one per line:
  size FILE BYTES GZIP_BYTES   every file of the page, and gzip -6 as a static server sends it
  load MS                      opening the page (fresh profile, empty cache) to the start question
  first-visit NETWORK ANSWER QUESTION ANSWERED FIRST_FRAME MUSIC BYTES
                               opening the page on a throttled network (slow-4G, fast-4G, none),
                               answering at once or ANSWER ms after opening: ms from navigation
                               to each, and the bytes transferred before the first frame
  second-visit QUESTION FIRST_FRAME MUSIC BYTES
                               the same browser again once the service worker keeps the site:
                               the bytes that still came through the network
  cpu-visit RATE VISIT ANSWERED FIRST_FRAME
                               the processor throttled RATE times (1, 4: CDP's
                               Emulation.setCPUThrottlingRate, as Lighthouse's mobile profile
                               slows it), no network throttling, answering at once; VISIT first
                               (a fresh browser) or second (the same one, once the site and the
                               pictures are kept): ms from navigation to the answer and to the
                               first frame
  loaded PART MS ...           before each visit's line: when each part of it was there
  lighthouse VERSION CATEGORY SCORE ...   Lighthouse's mobile defaults on the page, and
  lighthouse-metric NAME VALUE SCORE      its metrics (ms, or bytes for total-byte-weight)
  scene ID SAMPLES FPS         window.kelvorin.fps while the demo plays in an 800x600 canvas
  cold MS                      a seek to 170 s right after the demo starts, before its snapshots
  ready S                      seconds from the start until the snapshots reach the seek bar's end
  seek MS                      each of 20 seeks while the demo plays, once the snapshots are made
Usage: PYTHONPATH=tools/browser web.py SITE [RUNS]   (SITE: build-web/site; Lighthouse from
       build/npm, which script/bench installs)
       web.py SITE --cpu [RUNS]       only the cpu-visit lines
       web.py SITE --screenshot PNG   the page playing the finale in a wide window (the README's)
       web.py --report LINES LOAD WHEN CHROMIUM   the section of docs/performance.md from the
                               lines above (the scenes' and seeking's parts are script/bench's)"""
import gzip
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import textwrap
import time

os.environ.setdefault("WEB_LIMIT", "600")
import browser  # noqa: E402  tools/browser/, on PYTHONPATH (script/bench sets it)

UNTIL_MS = 150000  # the greetings (from 130 s) stay: 20 s of them is enough
# Jumps across every scene, 5 s to 170 s among them, as a viewer might make them; None is the
# seek bar's end.
JUMPS = [5000, 170000, 20000, 100000, 60000, 130000, 3000, 45000, 27000, 150000, 90000, 10000,
         185000, 35000, 70000, 120000, 0, None, 50000, 110000]


def sizes(site):
    """Every file of the site (the files that kelvorin-web.zip holds)."""
    for folder, _, names in sorted(os.walk(site)):
        for name in sorted(names):
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                data = f.read()
            print(f"size {os.path.relpath(path, site)} {len(data)} {len(gzip.compress(data, 6))}")


LIGHTHOUSE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "build", "npm",
                          "node_modules", ".bin", "lighthouse")
METRICS = ["first-contentful-paint", "largest-contentful-paint", "total-blocking-time",
           "cumulative-layout-shift", "speed-index", "interactive", "total-byte-weight"]


def lighthouse(site):
    """Lighthouse with its mobile defaults (a phone on slow 4G, simulated) on the page, in
    Debian's Chromium: the four scores and the page's metrics."""
    if not os.path.exists(LIGHTHOUSE):
        print("lighthouse-missing")
        return
    with tempfile.TemporaryDirectory() as work:
        server = browser.Server(site)
        try:
            report = os.path.join(work, "report.json")
            subprocess.run([LIGHTHOUSE, server.url("index.html"), "--output=json",
                            f"--output-path={report}", "--quiet", "--chrome-flags=--headless=new "
                            "--enable-unsafe-swiftshader --use-angle=swiftshader --no-sandbox "
                            "--disable-background-networking --disable-component-update --disable-sync "
                            f"--no-first-run --user-data-dir={work}/profile"],
                           env={**os.environ, "CHROME_PATH": browser.CHROMIUM}, check=True, timeout=300)
            with open(report) as f:
                result = json.load(f)
        finally:
            os.killpg(server.process.pid, 9)
            server.process.wait()
    scores = " ".join(f"{k} {v['score']}" for k, v in result["categories"].items())
    print(f"lighthouse {result['lighthouseVersion']} {scores}")
    for metric in METRICS:
        audit = result["audits"][metric]
        print(f"lighthouse-metric {metric} {audit['numericValue']:.0f} {audit['score']}")


def load_time(site):
    with browser.session(site=site) as (driver, server):
        driver.get(server.url("index.html"))
        browser.wait_for(driver, "kelvorin.readyAt !== null || kelvorin.state === 'error'", "the question")
        return driver.execute_script("return kelvorin.readyAt;")


# Chromium's network throttling: latency ms, down and up in bits a second (Lighthouse's mobile
# profile is the slow one).
NETWORKS = {"slow-4G": (150, 1.6e6, 750e3), "fast-4G": (60, 9e6, 9e6), "none": None}


def network_events(driver):
    """The network's events since the last call, from Chromium's performance log."""
    events = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"].startswith("Network."):
            events.append((message["method"], message.get("params", {})))
    return events


def bytes_until(events, wall):
    """Bytes that came through the network (not from the service worker) before wall time."""
    offset = next((p["wallTime"] - p["timestamp"] for m, p in events if m == "Network.requestWillBeSent"), 0)
    from_worker = {p["requestId"] for m, p in events
                   if m == "Network.responseReceived" and p["response"].get("fromServiceWorker")}
    total = 0
    for method, p in events:
        if p.get("requestId") in from_worker or p.get("timestamp", 0) + offset > wall:
            continue
        if method == "Network.dataReceived":
            total += p.get("encodedDataLength", 0)
        elif method == "Network.responseReceived":
            total += p["response"].get("encodedDataLength", 0)  # the headers
    return total


def visit(driver, server, answer_after_ms=0, count_bytes=True):
    """Opens the page, answers No as soon as the question shows (or that long after opening),
    and waits for the music; the page's times (ms from navigation) and the bytes before the
    first frame (None without count_bytes)."""
    driver.get(server.url("index.html"))
    browser.wait_for(driver, "kelvorin.state === 'question' || kelvorin.state === 'error'", "the question")
    if answer_after_ms:
        wait = answer_after_ms - driver.execute_script("return performance.now();")
        time.sleep(max(0, wait) / 1000)
    driver.find_element("id", "no").click()
    browser.wait_for(driver, "kelvorin.musicAt !== null || kelvorin.state === 'error'", "the music")
    times = driver.execute_script(
        "return [kelvorin.readyAt, kelvorin.answeredAt, kelvorin.firstFrameAt, kelvorin.musicAt,"
        " performance.timeOrigin];")
    print("loaded", " ".join(f"{k} {v:.0f}" for k, v in driver.execute_script("return kelvorin.loaded;").items()))
    if not count_bytes:
        return times[:4], None
    first_frame_wall = (times[4] + times[2]) / 1000
    return times[:4], bytes_until(network_events(driver), first_frame_wall)


def loads(site):
    """The first visit on each network (a fresh browser, empty cache, answering at once), and
    with no throttling answering after 3 s; then, with no throttling, a second visit in the
    same browser once the service worker keeps the site."""
    for name, conditions in NETWORKS.items():
        for answer_after in ([0, 3000] if conditions is None else [0]):
            with browser.session(site=site, performance_log=True) as (driver, server):
                driver.execute_cdp_cmd("Network.enable", {})
                if conditions:
                    latency, down, up = conditions
                    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
                        "offline": False, "latency": latency,
                        "downloadThroughput": down / 8, "uploadThroughput": up / 8})
                (ready, answered, frame, music), before = visit(driver, server, answer_after)
                print(f"first-visit {name} {answer_after} {ready:.0f} {answered:.0f} {frame:.0f} "
                      f"{music:.0f} {before}")
                if conditions is None and not answer_after:
                    browser.wait_for(driver, "kelvorin.offline", "the service worker")
                    network_events(driver)
                    (ready, answered, frame, music), _ = visit(driver, server)
                    events = network_events(driver)
                    print(f"second-visit {ready:.0f} {frame:.0f} {music:.0f} "
                          f"{bytes_until(events, float('inf'))}")


# How much slower the processor runs: as it is, and as Lighthouse's mobile profile slows it.
CPU_RATES = [1, 4]


def cpu_visits(site):
    """A first visit (fresh browser, empty cache) and a second one once the service worker keeps
    the site and the page keeps its pictures, with the processor throttled and the network not,
    answering the moment the question is there."""
    for rate in CPU_RATES:
        with browser.session(site=site) as (driver, server):
            driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": rate})
            (_, answered, frame, _), _ = visit(driver, server, count_bytes=False)
            print(f"cpu-visit {rate} first {answered:.0f} {frame:.0f}")
            browser.wait_for(driver, "kelvorin.offline && kelvorin.pictures.kept === true",
                             "the site and the pictures to be kept")
            (_, answered, frame, _), _ = visit(driver, server, count_bytes=False)
            print(f"cpu-visit {rate} second {answered:.0f} {frame:.0f}")


def scene_rates(site):
    """Samples fps four times a second; a sample counts for a scene when the whole second
    before it lies within that scene."""
    samples = {}
    order = []
    with browser.session(site=site) as (driver, server):
        browser.page_size(driver, 800, 600)  # so that the 4:3 canvas is 800x600
        driver.get(server.url("index.html"))
        browser.wait_for(driver, "kelvorin.state === 'question'", "the question")
        driver.find_element("id", "no").click()
        browser.wait_for(driver, "kelvorin.state === 'playing'", "the demo")
        size = driver.execute_script("const c = document.getElementById('canvas'); return [c.width, c.height];")
        print(f"canvas {size[0]}x{size[1]}")
        since = {}  # scene -> the clock at which it was first seen in this visit
        last = None
        browser.waiting("the demo to reach the greetings")
        while True:
            state = driver.execute_script("return [kelvorin.clock, kelvorin.scene, kelvorin.fps];")
            clock, scene, fps = state
            if scene != last:
                since[scene] = clock
                last = scene
                if scene not in order:
                    order.append(scene)
            elif clock - since[scene] >= 1000:
                samples.setdefault(scene, []).append(fps)
            if clock >= UNTIL_MS:
                break
            time.sleep(0.25)
    for scene in order:
        values = samples.get(scene, [])
        rate = f"{statistics.mean(values):.1f}" if values else "-"
        print(f"scene {scene} {len(values)} {rate}")


def timed_seek(driver, ms):
    """kelvorin.seek(ms) timed in the page, from the call to the frame on the canvas."""
    return driver.execute_async_script(
        "const done = arguments[1], start = performance.now();"
        "kelvorin.seek(arguments[0]).then(() => done(performance.now() - start));", ms)


def seek_times(site):
    with browser.session(site=site) as (driver, server):
        browser.page_size(driver, 800, 600)
        driver.get(server.url("index.html"))
        browser.wait_for(driver, "kelvorin.state === 'question'", "the question")
        driver.find_element("id", "no").click()
        browser.wait_for(driver, "kelvorin.state === 'playing' && kelvorin.fps > 0", "the demo")
        started = time.monotonic()
        print(f"cold {timed_seek(driver, 170000):.0f}")
        browser.wait_for(driver, "kelvorin.snapshotsTo >= kelvorin.duration", "the snapshots")
        print(f"ready {time.monotonic() - started:.1f}")
        for ms in JUMPS:
            if ms is None:
                ms = driver.execute_script("return kelvorin.duration;")
            print(f"seek {timed_seek(driver, ms):.0f}")
            time.sleep(0.2)


def screenshot(site, png):
    with browser.session(site=site) as (driver, server):
        browser.page_size(driver, 1024, 600)
        driver.get(server.url("index.html"))
        browser.wait_for(driver, "kelvorin.state === 'question'", "the question")
        driver.find_element("id", "no").click()
        browser.wait_for(driver, "kelvorin.clock >= 104000", "the finale")
        driver.save_screenshot(png)


# What the issue of the page that loads behind its question measured before it, beside which
# the report gives today's figures.
# (start question, first frame after the answer) in seconds.
BEFORE = {"slow-4G": (38.2, 2.9), "fast-4G": (9.9, 1.0), "none": (3.2, 2.8)}
BEFORE_LIGHTHOUSE = {"performance": "0.57", "accessibility": "1.0", "best-practices": "1.0", "seo": "0.9",
                     "largest-contentful-paint": "37.6 s", "interactive": "37.6 s",
                     "total-blocking-time": "670 ms", "total-byte-weight": "6.7 MB"}
NETWORK_NAMES = {"slow-4G": "slow 4G (1.6 Mbit/s down, 750 kbit/s up, 150 ms)",
                 "fast-4G": "fast 4G (9 Mbit/s, 60 ms)", "none": "no throttling"}


def median(values):
    return statistics.median(values) if values else float("nan")


def report(raw, load, when, chromium):
    """The browser edition's section of docs/performance.md, from web.py's lines."""
    lines = [line.split() for line in open(raw) if line.strip()]
    out = []
    say = out.append
    sizes = [(f[1], int(f[2]), int(f[3])) for f in lines if f[0] == "size"]
    first = {}
    for f in lines:
        if f[0] == "first-visit":
            first.setdefault((f[1], int(f[2])), []).append([float(x) for x in f[3:]])
    second = [[float(x) for x in f[1:]] for f in lines if f[0] == "second-visit"]
    loaded = {}
    for i, f in enumerate(lines):
        if f[0] == "loaded" and i + 1 < len(lines) and lines[i + 1][0] == "first-visit":
            key = (lines[i + 1][1], int(lines[i + 1][2]))
            for name, value in zip(f[1::2], f[2::2]):
                loaded.setdefault(key, {}).setdefault(name, []).append(float(value))
    say("## The browser edition")
    say("")
    say(f"`script/web`'s site in headless Chromium {chromium}, WebGL 2 on SwiftShader (through ANGLE), on")
    say(f"the same machine, measured by `tools/bench/web.py` at {when}. Load before: {load}.")
    say("")
    say("### Opening the link")
    say("")
    runs = len(first.get(("none", 0), []))
    say(f"Each visit in a fresh browser with an empty cache, through Chromium's network throttling (CDP),")
    say(f"answering the question the moment it is there; the median of {runs} visits. In brackets: before the")
    say("page asked first and loaded behind, the goal.")
    say("")
    say("| network | start question | playing with music, from opening the link | first frame after the answer | bytes before the first frame |")
    say("|---|---:|---:|---:|---:|")
    goals = {"slow-4G": (2.0, 4.0), "fast-4G": (1.0, 2.0)}
    for name in ["slow-4G", "fast-4G", "none"]:
        visits = first.get((name, 0), [])
        if not visits:
            continue
        question = median([v[0] for v in visits]) / 1000
        music = median([v[3] for v in visits]) / 1000
        after = median([v[2] - v[1] for v in visits])
        bytes_ = median([v[4] for v in visits])
        bq, ba = BEFORE[name]
        gq, gm = goals.get(name, (None, None))
        goal_q = f", ≤ {gq:.1f} s" if gq else ""
        goal_m = f", ≤ {gm:.1f} s" if gm else ""
        say(f"| {NETWORK_NAMES[name]} | **{question:.1f} s** ({bq} s{goal_q}) | **{music:.1f} s** "
            f"({bq + ba:.1f} s{goal_m}) | {after:.0f} ms ({ba} s) | {bytes_ / 1000:.0f} kB |")
    late = first.get(("none", 3000), [])
    if late:
        after = median([v[2] - v[1] for v in late])
        say(f"| no throttling, answering after 3 s | - | {median([v[3] for v in late]) / 1000:.1f} s | "
            f"**{after:.0f} ms** (2.8 s, ≤ 300 ms) | {median([v[4] for v in late]) / 1000:.0f} kB |")
    say("")
    parts = loaded.get(("slow-4G", 0), {})
    if parts:
        say("When each part was there, on slow 4G (median, s from opening the link): " + ", ".join(
            f"{name} {median(values) / 1000:.1f}" for name, values in sorted(parts.items(), key=lambda p: median(p[1]))) + ".")
        say("")
    if second:
        say(f"A second visit in the same browser, once the service worker keeps the site: the question at "
            f"{median([v[0] for v in second]):.0f} ms,")
        say(f"the music playing at {median([v[2] for v in second]) / 1000:.1f} s, and "
            f"**{median([v[3] for v in second]):.0f} bytes** through the network: everything comes from the")
        sw = next((b for n, b, _ in sizes if n == "sw.js"), 0)
        say(f"worker's cache, and the browser's look at `sw.js` ({sw / 1000:.1f} kB) is the only check for a new release.")
        say("")
    scores = next((f for f in lines if f[0] == "lighthouse"), None)
    if scores:
        say(f"### Lighthouse {scores[1]}")
        say("")
        say("Its mobile defaults (a phone on slow 4G, simulated), on the page as `tools/browser/serve.py` serves")
        say("it (gzip, byte ranges, a year's caching for the files named by their content).")
        say("")
        say("| category | score | before |")
        say("|---|---:|---:|")
        for name, value in zip(scores[2::2], scores[3::2]):
            say(f"| {name} | **{value}** | {BEFORE_LIGHTHOUSE.get(name, '-')} |")
        say("")
        say("| metric | value | before |")
        say("|---|---:|---:|")
        for f in lines:
            if f[0] == "lighthouse-metric":
                value = float(f[2])
                shown = (f"{value / 1e6:.2f} MB" if f[1] == "total-byte-weight" else
                         f"{value:.3f}" if f[1] == "cumulative-layout-shift" else f"{value / 1000:.1f} s"
                         if value >= 1000 and f[1] != "total-blocking-time" else f"{value:.0f} ms")
                say(f"| {f[1]} | {shown} | {BEFORE_LIGHTHOUSE.get(f[1], '-')} |")
        say("")
    groups = {"the music (MP3, streamed)": r"\.mp3$", "the program (kelvorin.js, kelvorin.wasm)": r"^kelvorin\.[0-9a-f]+\.(js|wasm)$",
              "the picture generator, its worker and fonts": r"^(art|art-worker)\.|^fonts/",
              "the icons (the tab's, the home screen's and the stores')": r"^kelvorin(-\d+)?\.[0-9a-f]+\.png$"}
    total = sum(p for _, _, p in sizes)
    shares = []
    for label, pattern in groups.items():
        shares.append((label, sum(p for n, _, p in sizes if re.search(pattern, n))))
    page = total - sum(b for _, b in shares)
    say(textwrap.fill(
        f"The site, each file compressed with gzip -6 as a web server sends it: **{total / 1e6:.2f} MB** "
        "(6.86 MB before, with the 23 pictures downloaded): " + ", ".join(f"{label} {b / 1000:.0f} kB" for label, b in shares)
        + f", the page itself (HTML, CSS, modules, manifest, service worker) {page / 1000:.0f} kB. Only the "
        "music is large, and it streams while it plays.", width=100))
    say("")
    return "\n".join(out)


def main():
    if len(sys.argv) == 6 and sys.argv[1] == "--report":
        print(report(*sys.argv[2:]))
        return
    site = sys.argv[1]
    if len(sys.argv) > 3 and sys.argv[2] == "--screenshot":
        screenshot(site, sys.argv[3])
        return
    if len(sys.argv) > 2 and sys.argv[2] == "--cpu":
        for _ in range(int(sys.argv[3]) if len(sys.argv) > 3 else 3):
            cpu_visits(site)
        return
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    sizes(site)
    for _ in range(runs):
        print(f"load {load_time(site):.0f}")
    for _ in range(runs):
        loads(site)
    for _ in range(runs):
        cpu_visits(site)
    lighthouse(site)
    scene_rates(site)
    seek_times(site)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Measures the browser edition on this machine in the engine that ENGINE names (engines.py:
chromium, firefox or webkit), for script/bench. Prints one figure a line, each measure's median:
in every engine
  browser ENGINE VERSION
  line NETWORK LATENCY DOWN -  serve.py's own throttle, the same for every engine (ms, bits a
                               second; "- - -": none)
  open ENGINE NETWORK RUNS QUESTION MUSIC AFTER
                               opening the page through that throttle (a fresh browser, empty
                               cache, answering at once): ms from navigation to the question and
                               to the music, and from the answer to the first frame
  canvas ENGINE WxH, scene ENGINE ID READINGS FPS
                               window.kelvorin.fps while the demo plays in an 800x600 canvas
  seek ENGINE JUMPS MEDIAN LONGEST   ms of 20 seeks while the demo plays, once the snapshots are made
  ready ENGINE S               seconds from the start until the snapshots reach the seek bar's end
  cold ENGINE MS               a seek to 170 s right after the demo starts, before its snapshots
  not-measured ENGINE WHY      a measure whose browser failed twice (a hang at start, say)
and in Chromium alone, through its DevTools protocol (CDP):
  network NETWORK LATENCY DOWN UP   Chromium's network throttling (Lighthouse's mobile profile is
                               slow-4G)
  first-visit NETWORK ANSWER RUNS QUESTION MUSIC AFTER BYTES
                               opening the page on that network, answering at once or ANSWER ms
                               after opening, and the bytes transferred before the first frame
  loaded NETWORK PART MS       when each part of the page was there
  second-visit RUNS QUESTION MUSIC BYTES
                               the same browser again once the service worker keeps the site: the
                               bytes that still came through the network
  cpu-visit RATE VISIT RUNS AFTER
                               the processor throttled RATE times (1, 4: Emulation.setCPUThrottlingRate,
                               as Lighthouse's mobile profile slows it), no network throttling,
                               answering at once; VISIT first (a fresh browser) or second (the same
                               one, once the site and the pictures are kept): ms from the answer to
                               the first frame
  lighthouse-version V, lighthouse-score CATEGORY SCORE, lighthouse-metric NAME VALUE
                               Lighthouse's mobile defaults on the page (ms, or bytes for
                               total-byte-weight)
  site GROUP BYTES             the site gzip -6 as a web server sends it (total, music, program,
                               art, icons, page), and sw.js as it is
Usage: PYTHONPATH=tools/browser [ENGINE=...] web.py SITE [RUNS]   (SITE: build-web/site;
       Lighthouse from build/npm, which script/bench installs)
       web.py SITE --cpu [RUNS]       only the cpu-visit lines
       web.py SITE --screenshot PNG   the page playing the finale in a wide window (the README's)"""
import gzip
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

os.environ.setdefault("WEB_LIMIT", "600")
import browser  # noqa: E402  tools/browser/, on PYTHONPATH (script/bench sets it)
import engines  # noqa: E402
from selenium.common.exceptions import WebDriverException  # noqa: E402

ENGINE = browser.ENGINE
UNTIL_MS = 150000  # the greetings (from 130 s) stay: 20 s of them is enough
# Jumps across every scene, 5 s to 170 s among them, as a viewer might make them; None is the
# seek bar's end.
JUMPS = [5000, 170000, 20000, 100000, 60000, 130000, 3000, 45000, 27000, 150000, 90000, 10000,
         185000, 35000, 70000, 120000, 0, None, 50000, 110000]
# How long one visit and one playing of the demo may take before its browser counts as hung (s).
VISIT_LIMIT = 120
PLAY_LIMIT = 240
TRIES = [2]  # how many tries a measure gets: one, once a measure has failed twice in this engine


def median(values):
    return statistics.median(values)


def attempt(what, measure, limit=VISIT_LIMIT):
    """measure() in a browser session, and again where the browser failed (Firefox's driver hangs
    now and then on a loaded machine); False, and a not-measured line, where it failed each time."""
    browser.LIMIT = limit
    for _ in range(TRIES[0]):
        try:
            measure()
            return True
        except (browser.Failure, engines.EngineError, WebDriverException) as e:
            print(f"web.py: {ENGINE}: {what}: {e}", file=sys.stderr)
            reason = " ".join(str(e).split())
    print(f"not-measured {ENGINE} {what}: {reason}")
    TRIES[0] = 1
    return False


def version():
    if ENGINE == "chromium":
        text = subprocess.run([engines.CHROMIUM, "--version"], capture_output=True, text=True).stdout
        return text.split()[1]
    if ENGINE == "firefox":
        text = subprocess.run([engines.FIREFOX, "--version"], capture_output=True, text=True).stdout
        return text.split()[-1]
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libwebkit2gtk-4.1-0"],
                          capture_output=True, text=True).stdout.split("-")[0]


# What a web server sends of the site, in groups by what the files are (the rest is the page).
GROUPS = {"music": r"\.mp3$", "program": r"^kelvorin\.[0-9a-f]+\.(js|wasm)$",
          "art": r"^(art|art-worker)\.|^fonts/", "icons": r"^kelvorin(-\d+)?\.[0-9a-f]+\.png$"}


def sizes(site):
    """The site (the files that kelvorin-web.zip holds), gzip -6 as a web server sends it."""
    files = {}
    for folder, _, names in sorted(os.walk(site)):
        for name in sorted(names):
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                data = f.read()
            files[os.path.relpath(path, site)] = (len(data), len(gzip.compress(data, 6)))
    total = sum(sent for _, sent in files.values())
    print(f"site total {total}")
    grouped = 0
    for group, pattern in GROUPS.items():
        sent = sum(s for name, (_, s) in files.items() if re.search(pattern, name))
        grouped += sent
        print(f"site {group} {sent}")
    print(f"site page {total - grouped}")
    print(f"site sw.js {files['sw.js'][0]}")


LIGHTHOUSE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "build", "npm",
                          "node_modules", ".bin", "lighthouse")
METRICS = ["first-contentful-paint", "largest-contentful-paint", "total-blocking-time",
           "cumulative-layout-shift", "speed-index", "interactive", "total-byte-weight"]


def lighthouse(site):
    """Lighthouse with its mobile defaults (a phone on slow 4G, simulated) on the page, in
    Debian's Chromium: the four scores and the page's metrics."""
    if not os.path.exists(LIGHTHOUSE):
        print("not-measured chromium lighthouse: not installed in build/npm")
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
    print(f"lighthouse-version {result['lighthouseVersion']}")
    for category, value in result["categories"].items():
        print(f"lighthouse-score {category} {value['score']}")
    for metric in METRICS:
        print(f"lighthouse-metric {metric} {result['audits'][metric]['numericValue']:.0f}")


# Chromium's network throttling: latency ms, down and up in bits a second (Lighthouse's mobile
# profile is the slow one).
NETWORKS = {"slow-4G": (150, 1.6e6, 750e3), "fast-4G": (60, 9e6, 9e6), "none": None}
# serve.py's throttle, which every engine meets alike: latency ms and bits a second down, fast
# 4G as Chromium's above.
LINES = {"fast-4G": (60, 9e6), "none": None}


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


def visit(page, server, answer_after_ms=0, count_bytes=False):
    """Opens the page, answers No as soon as the question shows (or that long after opening),
    and waits for the music; the page's times (ms from navigation: the question, the answer,
    the first frame, the music), when each of its parts was there, and with count_bytes
    (Chromium) the bytes before the first frame."""
    page.get(server.url("index.html"))
    browser.wait_for(page, "kelvorin.state === 'question' || kelvorin.state === 'error'", "the question")
    if answer_after_ms:
        wait = answer_after_ms - page.execute_script("return performance.now();")
        time.sleep(max(0, wait) / 1000)
    page.click("no")
    browser.wait_for(page, "kelvorin.musicAt !== null || kelvorin.state === 'error'", "the music")
    times = page.execute_script(
        "return [kelvorin.readyAt, kelvorin.answeredAt, kelvorin.firstFrameAt, kelvorin.musicAt,"
        " performance.timeOrigin];")
    loaded = page.execute_script("return kelvorin.loaded;")
    if not count_bytes:
        return times[:4], loaded, None
    first_frame_wall = (times[4] + times[2]) / 1000
    return times[:4], loaded, bytes_until(network_events(page), first_frame_wall)


def print_visits(head, visits):
    """One line of medians: the question, the music, the first frame after the answer (and the
    bytes before it, where counted)."""
    if not visits:
        return
    figures = [median([v[0][0] for v in visits]), median([v[0][3] for v in visits]),
               median([v[0][2] - v[0][1] for v in visits])]
    if visits[0][2] is not None:
        figures.append(median([v[2] for v in visits]))
    print(head, len(visits), " ".join(f"{x:.0f}" for x in figures))


def chromium_loads(site, runs):
    """The first visit on each of Chromium's networks (a fresh browser, empty cache, answering at
    once), and with no throttling answering after 3 s; then, with no throttling, a second visit
    in the same browser once the service worker keeps the site."""
    second = []
    for name, conditions in NETWORKS.items():
        print(f"network {name} " + (" ".join(f"{x:.0f}" for x in conditions) if conditions else "- - -"))
        for answer_after in ([0, 3000] if conditions is None else [0]):
            visits = []

            def measure():
                with browser.session(site=site, performance_log=True) as (page, server):
                    page.execute_cdp_cmd("Network.enable", {})
                    if conditions:
                        latency, down, up = conditions
                        page.execute_cdp_cmd("Network.emulateNetworkConditions", {
                            "offline": False, "latency": latency,
                            "downloadThroughput": down / 8, "uploadThroughput": up / 8})
                    visits.append(visit(page, server, answer_after, count_bytes=True))
                    if conditions is None and not answer_after:
                        browser.wait_for(page, "kelvorin.offline", "the service worker")
                        network_events(page)
                        times, _, _ = visit(page, server)
                        second.append((times, bytes_until(network_events(page), float("inf"))))
            for _ in range(runs):
                if not attempt(f"first visit on {name}", measure):
                    break
            print_visits(f"first-visit {name} {answer_after}", visits)
            for part in dict.fromkeys(part for v in visits for part in v[1]):
                print(f"loaded {name} {part} {median([v[1][part] for v in visits if part in v[1]]):.0f}")
    if second:
        print(f"second-visit {len(second)} {median([t[0] for t, _ in second]):.0f} "
              f"{median([t[3] for t, _ in second]):.0f} {median([b for _, b in second]):.0f}")


def loads(site, runs):
    """The first visit through serve.py's throttle (a fresh browser, empty cache, answering at
    once)."""
    for name, line in LINES.items():
        print(f"line {name} " + (f"{line[0]:.0f} {line[1]:.0f} -" if line else "- - -"))
        args = ["--latency", str(line[0]), "--rate", str(round(line[1] / 8))] if line else []
        visits = []

        def measure():
            with browser.session(site=site, server_args=args) as (page, server):
                visits.append(visit(page, server))
        for _ in range(runs):
            if not attempt(f"opening on {name}", measure):
                break
        print_visits(f"open {ENGINE} {name}", visits)


# How much slower the processor runs: as it is, and as Lighthouse's mobile profile slows it.
CPU_RATES = [1, 4]


def cpu_visits(site, runs):
    """A first visit (fresh browser, empty cache) and a second one once the service worker keeps
    the site and the page keeps its pictures, with the processor throttled and the network not,
    answering the moment the question is there."""
    for rate in CPU_RATES:
        after = {"first": [], "second": []}

        def measure():
            with browser.session(site=site) as (page, server):
                page.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": rate})
                (_, answered, frame, _), _, _ = visit(page, server)
                browser.wait_for(page, "kelvorin.offline && kelvorin.pictures.kept === true",
                                 "the site and the pictures to be kept")
                (_, answered2, frame2, _), _, _ = visit(page, server)
                after["first"].append(frame - answered)
                after["second"].append(frame2 - answered2)
        for _ in range(runs):
            if not attempt(f"a visit at {rate}x slower", measure):
                break
        for which, values in after.items():
            if values:
                print(f"cpu-visit {rate} {which} {len(values)} {median(values):.0f}")


def play(page, server):
    """The demo playing in an 800x600 canvas."""
    browser.page_size(page, 800, 600)  # so that the 4:3 canvas is 800x600
    page.get(server.url("index.html"))
    browser.wait_for(page, "kelvorin.state === 'question'", "the question")
    page.click("no")
    browser.wait_for(page, "kelvorin.state === 'playing' && kelvorin.fps > 0", "the demo")


def scene_rates(site):
    """Samples fps four times a second; a sample counts for a scene when the whole second
    before it lies within that scene."""
    samples = {}
    order = []
    with browser.session(site=site) as (page, server):
        play(page, server)
        size = page.execute_script("const c = document.getElementById('canvas'); return [c.width, c.height];")
        since = {}  # scene -> the clock at which it was first seen in this visit
        last = None
        browser.waiting("the demo to reach the greetings")
        while True:
            clock, scene, fps = page.execute_script("return [kelvorin.clock, kelvorin.scene, kelvorin.fps];")
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
    print(f"canvas {ENGINE} {size[0]}x{size[1]}")
    for scene in order:
        values = samples.get(scene, [])
        rate = f"{statistics.mean(values):.1f}" if values else "-"
        print(f"scene {ENGINE} {scene} {len(values)} {rate}")


def timed_seek(page, ms):
    """kelvorin.seek(ms) timed in the page, from the call to the frame on the canvas."""
    return page.execute_async_script(
        "const done = arguments[1], start = performance.now();"
        "kelvorin.seek(arguments[0]).then(() => done(performance.now() - start));", ms)


def seek_times(site):
    with browser.session(site=site) as (page, server):
        play(page, server)
        started = time.monotonic()
        cold = timed_seek(page, 170000)
        browser.wait_for(page, "kelvorin.snapshotsTo >= kelvorin.duration", "the snapshots")
        ready = time.monotonic() - started
        seeks = []
        for ms in JUMPS:
            if ms is None:
                ms = page.execute_script("return kelvorin.duration;")
            seeks.append(timed_seek(page, ms))
            time.sleep(0.2)
    print(f"cold {ENGINE} {cold:.0f}")
    print(f"ready {ENGINE} {ready:.1f}")
    print(f"seek {ENGINE} {len(seeks)} {median(seeks):.0f} {max(seeks):.0f}")


def screenshot(site, png):
    with browser.session(site=site) as (page, server):
        browser.page_size(page, 1024, 600)
        page.get(server.url("index.html"))
        browser.wait_for(page, "kelvorin.state === 'question'", "the question")
        page.click("no")
        browser.wait_for(page, "kelvorin.clock >= 104000", "the finale")
        page.save_screenshot(png)


def main():
    site = sys.argv[1]
    if len(sys.argv) > 3 and sys.argv[2] == "--screenshot":
        screenshot(site, sys.argv[3])
        return
    if len(sys.argv) > 2 and sys.argv[2] == "--cpu":
        cpu_visits(site, int(sys.argv[3]) if len(sys.argv) > 3 else 3)
        return
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    print(f"browser {ENGINE} {version()}", flush=True)
    if ENGINE == "chromium":
        sizes(site)
        chromium_loads(site, runs)
        cpu_visits(site, runs)
        lighthouse(site)
    loads(site, runs)
    attempt("the frames per second", lambda: scene_rates(site), PLAY_LIMIT)
    attempt("seeking", lambda: seek_times(site), PLAY_LIMIT)


if __name__ == "__main__":
    main()

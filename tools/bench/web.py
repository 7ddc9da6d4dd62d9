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
  scene ID SAMPLES FPS         window.kelvorin.fps while the demo plays in an 800x600 canvas
  cold MS                      a seek to 170 s right after the demo starts, before its snapshots
  ready S                      seconds from the start until the snapshots reach the seek bar's end
  seek MS                      each of 20 seeks while the demo plays, once the snapshots are made
Usage: PYTHONPATH=tools/browser web.py SITE [RUNS]
       web.py SITE --screenshot PNG   the page playing the finale in a wide window (the README's)"""
import gzip
import json
import os
import statistics
import sys
import time
import zipfile

os.environ.setdefault("WEB_LIMIT", "600")
import browser  # noqa: E402  tools/browser/, on PYTHONPATH (script/bench sets it)

UNTIL_MS = 150000  # the greetings (from 130 s) stay: 20 s of them is enough
# Jumps across every scene, 5 s to 170 s among them, as a viewer might make them; None is the
# seek bar's end.
JUMPS = [5000, 170000, 20000, 100000, 60000, 130000, 3000, 45000, 27000, 150000, 90000, 10000,
         185000, 35000, 70000, 120000, 0, None, 50000, 110000]


def sizes(site):
    """Every file of the site as released: those that kelvorin-web.zip holds."""
    with zipfile.ZipFile(os.path.join(site, "kelvorin-web.zip")) as released:
        names = released.namelist()
    for name in names:
        with open(os.path.join(site, name), "rb") as f:
            data = f.read()
        print(f"size {name} {len(data)} {len(gzip.compress(data, 6))}")


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


def visit(driver, server, answer_after_ms=0):
    """Opens the page, answers No as soon as the question shows (or that long after opening),
    and waits for the music; the page's times (ms from navigation) and the bytes before the
    first frame."""
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


def seek_times():
    with browser.session() as (driver, server):
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


def main():
    site = sys.argv[1]
    if len(sys.argv) > 3 and sys.argv[2] == "--screenshot":
        screenshot(site, sys.argv[3])
        return
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    sizes(site)
    for _ in range(runs):
        print(f"load {load_time(site):.0f}")
    scene_rates(site)
    seek_times()


if __name__ == "__main__":
    main()

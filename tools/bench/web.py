#!/usr/bin/python3
"""Measures the browser edition in headless Chromium (SwiftShader) on this machine, for
script/bench. Prints, one per line:
  size FILE BYTES GZIP_BYTES   every file of the page, and gzip -6 as a static server sends it
  load MS                      opening the page (fresh profile, empty cache) to the start question
  scene ID SAMPLES FPS         window.kelvorin.fps while the demo plays in an 800x600 canvas
  cold MS                      a seek to 170 s right after the demo starts, before its snapshots
  ready S                      seconds from the start until the snapshots reach the seek bar's end
  seek MS                      each of 20 seeks while the demo plays, once the snapshots are made
Usage: PYTHONPATH=tools/browser web.py SITE [RUNS]
       web.py SITE --screenshot PNG   the page playing the finale in a wide window (the README's)"""
import gzip
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

#!/usr/bin/python3
"""Seeking while the demo plays, as far as it goes: a jump before the snapshots are made lands
right all the same; once they reach the end, every jump (5 s to 170 s and back, across every
scene) replays less than a second of frames, unseen, from the snapshot before it. The times
are printed; script/bench measures them on a quiet machine (docs/performance.md)."""
import statistics
import time

import browser
from browser import fail, hooks, wait_for
from steps import check_console, play, snapshots_ready

# None is the seek bar's end.
JUMPS = [5000, 170000, 20000, 100000, 60000, 130000, 3000, 45000, 27000, 150000, 90000, 10000,
         185000, 35000, 70000, 120000, 0, None, 50000, 110000]
SPACING = 60  # frames between snapshots


def timed_seek(driver, ms):
    return driver.execute_async_script(
        "const done = arguments[1], start = performance.now();"
        "kelvorin.seek(arguments[0]).then((clock) => done([clock, performance.now() - start,"
        " kelvorin.seekFrames, kelvorin.scene]));", ms)


def test():
    with browser.session() as (driver, server):
        play(driver, server)
        clock, ms, frames, scene = timed_seek(driver, 170000)
        print(f"a jump to 170 s before the snapshots: {ms:.0f} ms, {frames} frames replayed")
        if scene != 8 or clock < 170000:
            fail(f"the early jump to 170 s shows scene {scene} at {clock} ms")

        started = time.monotonic()
        snapshots_ready(driver)
        print(f"the snapshots reached the end {time.monotonic() - started:.1f} s later")
        times = []
        for target in JUMPS:
            if target is None:
                target = driver.execute_script("return kelvorin.duration;")
            clock, ms, frames, _ = timed_seek(driver, target)
            times.append(ms)
            if frames >= SPACING:
                fail(f"the jump to {target} ms replayed {frames} frames, more than a second's")
            wait_for(driver, f"kelvorin.clock >= {clock}", "the demo to play on")
        print(f"{len(times)} jumps while playing: median {statistics.median(times):.0f} ms, "
              f"longest {max(times):.0f} ms")
        if hooks(driver)["state"] != "playing":
            fail(f"the demo stopped: {hooks(driver)}")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

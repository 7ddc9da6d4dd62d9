#!/usr/bin/python3
"""Seeking by keys and on the seek bar, paused: Right and Left by 5 s, L and J by 10 s, Home
and 0 to the start, 1 to 9 to tenths of the bar, End on the focused bar to its end; each lands
on the first frame of the 60 fps synthetic clock at or after its target. The bar is a slider
whose value and text follow, each chapter's start shows that chapter's scene, and hovering
the bar names the chapter and time under the pointer; a drag seeks where it is let go. The
bar's end and chapters are what kelvorin-capture --timeline finds, and window.kelvorin takes no
writes."""
import json
import math
import os
import subprocess

import browser
from browser import fail, hooks, wait_for
from steps import check_console, pause, play, press, seek


def frame_clock(ms):
    """The clock of the first frame at 60 fps at or after ms."""
    return math.ceil(ms * 60 / 1000) * 1000 // 60


def slider(driver):
    return driver.execute_script(
        "const b = document.getElementById('seekbar');"
        "return [b.getAttribute('role'), b.getAttribute('aria-valuenow'), b.getAttribute('aria-valuetext')];")


def test():
    with browser.session() as (driver, server):
        play(driver, server)
        clock = pause(driver)
        duration = hooks(driver)["duration"]
        for key, target in [("ArrowRight", lambda c: c + 5000), ("ArrowLeft", lambda c: c - 5000),
                            ("l", lambda c: c + 10000), ("l", lambda c: c + 10000), ("j", lambda c: c - 10000),
                            ("Home", lambda c: 0), ("5", lambda c: duration / 2), ("0", lambda c: 0),
                            ("9", lambda c: duration * 0.9)]:
            expected = frame_clock(max(0, target(clock)))
            press(driver, key)
            wait_for(driver, f"kelvorin.clock === {expected}", f"{key!r} to seek to {expected} ms", seconds=10)
            clock = expected
            role, now, text = slider(driver)
            minutes, seconds = divmod(clock // 1000, 60)
            if role != "slider" or now != str(clock // 1000) or not text.startswith(f"{minutes}:{seconds:02d}"):
                fail(f"at {clock} ms the seek bar says {role} {now} {text!r}")
        if not hooks(driver)["paused"]:
            fail("seeking resumed the paused demo")

        # The bar's end and chapters are the timeline's own, as the offline renderer runs it,
        # and window.kelvorin only shows the player's state: writing to it changes nothing.
        native = json.loads(subprocess.run(
            ["./kelvorin-capture", "--timeline", "--json"], cwd=os.environ["NATIVE"],
            capture_output=True, text=True, check=True, timeout=120).stdout)
        if duration != native["length"] or hooks(driver)["chapters"] != native["chapters"]:
            fail(f"the page has {duration} ms and {hooks(driver)['chapters']}, the timeline {native}")
        driver.execute_script("try { kelvorin.paused = false; } catch (e) {}"
                              "try { kelvorin.chapters.length = 0; } catch (e) {}")
        if not hooks(driver)["paused"] or hooks(driver)["chapters"] != native["chapters"]:
            fail(f"window.kelvorin took a write: {hooks(driver)}")

        driver.execute_script("document.getElementById('seekbar').focus();")
        press(driver, "End")
        wait_for(driver, f"kelvorin.clock === {frame_clock(duration)}", "End on the bar", seconds=10)

        for chapter in hooks(driver)["chapters"]:
            seek(driver, chapter["start"])
            state = hooks(driver)
            if state["scene"] != chapter["id"] or state["clock"] != chapter["start"]:
                fail(f"the chapter {chapter} starts with scene {state['scene']} at {state['clock']} ms")
            if chapter["name"] not in slider(driver)[2]:
                fail(f"at the start of {chapter['name']} the bar says {slider(driver)[2]!r}")

        # Hover at 100 s names the finale; a drag let go at 20 s seeks there.
        width = driver.execute_script("return document.getElementById('seekbar').getBoundingClientRect().width;")
        offset = lambda ms: (ms / duration - 0.5) * width  # noqa: E731
        driver.move_to("seekbar", offset(100000))
        tip = driver.execute_script("return document.getElementById('seek-tip').textContent;")
        if not tip.startswith("finale · 1:"):
            fail(f"hovering at 100 s shows {tip!r}")
        driver.drag("seekbar", offset(150000), offset(20000))
        wait_for(driver, f"Math.abs(kelvorin.clock - 20000) < {duration / width * 2 + 20}",
                 "the drag to seek to about 20 s", seconds=10)
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

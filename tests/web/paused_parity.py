#!/usr/bin/python3
"""A paused seek shows the offline renderer's frame: paused in an 800x600 canvas, the picture
after seeking to each moment (the ball spiral's lit balls, the cube fan's bands, the tunnel's
sprites, the finale) matches kelvorin-capture --at of the same moment, and the first again
after seeking back from the last, under the tolerance of the parity test."""
import subprocess

import browser
from browser import fail, waiting, wait_for
from parity import in_scratch, matches_capture, pixels, start_capture
from steps import check_console, pause, play, seek

MOMENTS = [17500, 36000, 66150, 100000]


def shot(driver):
    """The canvas's part of a screenshot of the page, as (width, height, RGB bytes)."""
    x, y, w, h = driver.execute_script("const r = document.getElementById('canvas').getBoundingClientRect();"
                                       "return [r.left, r.top, r.width, r.height].map(Math.round);")
    png = subprocess.run(["convert", "png:-", "-crop", f"{w}x{h}+{x}+{y}", "+repage", "png:-"],
                         input=driver.get_screenshot_as_png(), capture_output=True, check=True).stdout
    return pixels(png)


def test():
    in_scratch(compare)


def compare(out):
    native_run = start_capture(out, MOMENTS)
    problems = []
    with browser.session(also_end=[native_run.pid]) as (driver, server):
        browser.page_size(driver, 800, 600)
        play(driver, server)
        pause(driver)
        # The controls that Space brought go after 3 s; nothing then covers the picture.
        wait_for(driver, "!document.getElementById('controls').classList.contains('shown')", "the controls to go",
                 seconds=6)
        waiting("kelvorin-capture")
        if native_run.wait() != 0:
            fail(f"kelvorin-capture ended with {native_run.returncode}")
        for ms in MOMENTS + [MOMENTS[0]]:
            seek(driver, ms)
            if not matches_capture(out, ms, shot(driver)):
                problems.append(f"{ms} ms")
        check_console(driver)
    if problems:
        fail(f"the paused picture differs from kelvorin-capture's at {', '.join(problems)}")


if __name__ == "__main__":
    browser.main(test)

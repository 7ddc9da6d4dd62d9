#!/usr/bin/python3
"""The browser's frames are the desktop's: index.html?at=MS against kelvorin-capture --at MS
(both 800x600, 60 fps synthetic clock) at lit spheres (the ball spiral), the tunnel in a
frame that shakes, with its sprites, and the finale's blended layers. Each frame: mean absolute
difference below 3 per channel, fewer than 2 % of pixels off by more than 24."""
import base64
import os
import shutil
import subprocess
import tempfile

import browser
from browser import fail, waiting

MOMENTS = [17500, 66150, 100000]
NATIVE = os.environ.get("NATIVE", "build")


def pixels(png):
    """(width, height, RGB bytes) of a PNG."""
    ppm = subprocess.run(["convert", "png:-", "-depth", "8", "ppm:-"], input=png,
                         capture_output=True, check=True).stdout
    magic, width, height, _, data = ppm.split(maxsplit=4)
    return int(width), int(height), data


def difference(a, b):
    """Mean absolute difference per channel, and the share of pixels off by more than 24."""
    n = len(a) // 3
    means = [sum(abs(x - y) for x, y in zip(a[c::3], b[c::3])) / n for c in range(3)]
    d = [abs(x - y) for x, y in zip(a, b)]
    off = sum(1 for i in range(0, len(d), 3) if max(d[i], d[i + 1], d[i + 2]) > 24) / n
    return means, off


def matches_capture(out, ms, web):
    """Whether the browser's picture (width, height, RGB) matches kelvorin-capture's frame-MS.png
    in out: the same size, a mean difference below 3 per channel and fewer than 2 % of pixels off
    by more than 24. Prints the figures."""
    with open(os.path.join(out, f"frame-{ms:06d}.png"), "rb") as f:
        native = pixels(f.read())
    if web[:2] != native[:2]:
        fail(f"at {ms} ms the browser's picture is {web[:2]}, the desktop's {native[:2]}")
    means, off = difference(web[2], native[2])
    print(f"{ms} ms: mean difference {means[0]:.2f} {means[1]:.2f} {means[2]:.2f}, "
          f"{off * 100:.2f} % of pixels off by more than 24")
    return max(means) < 3 and off < 0.02


def start_capture(out, moments, reduced=False):
    """Starts kelvorin-capture on the moments' frames, with reduced flashing or without, into
    out, in a process group of its own: the desktop's frames are drawn while the browser draws
    its own."""
    capture = [os.path.abspath(os.path.join(NATIVE, "kelvorin-capture")), "--out", out]
    capture += ["--reduced-flashing"] if reduced else []
    for ms in moments:
        capture += ["--at", str(ms)]
    return subprocess.Popen(capture, cwd=NATIVE, stdout=subprocess.DEVNULL, start_new_session=True)


def in_scratch(compare):
    """Runs compare(folder) with a scratch folder that goes afterwards."""
    out = tempfile.mkdtemp(prefix="kelvorin-parity-")
    try:
        compare(out)
    finally:
        shutil.rmtree(out, ignore_errors=True)


def test():
    in_scratch(compare_frames)


def compare_frames(out, moments=MOMENTS, reduced=False):
    """The frames at these moments, with reduced flashing or without, in both editions."""
    native_run = start_capture(out, moments, reduced)
    problems = []
    with browser.session(also_end=[native_run.pid]) as (driver, server):
        for ms in moments:
            driver.get(server.url(f"index.html?at={ms}" + ("&reduced-flashing=1" if reduced else "")))
            browser.wait_for(driver, f"document.title === 'frame {ms} ready' || kelvorin.state === 'error'",
                             f"the frame at {ms} ms")
            state = browser.hooks(driver)
            if state["state"] != "frame" or state["reducedFlashing"] != reduced:
                fail(f"at {ms} ms: {state}")
            box = driver.execute_script("const r = document.getElementById('canvas')"
                                        ".getBoundingClientRect(); return [r.left, r.top, r.width, r.height];")
            if box != [0, 0, 800, 600]:
                fail(f"at {ms} ms the canvas is at {box}, not at the top-left at 800x600")
            url = driver.execute_script("return document.getElementById('canvas').toDataURL('image/png');")
            web = pixels(base64.b64decode(url.split(",", 1)[1]))
            if ms == moments[0]:
                waiting("kelvorin-capture")
                if native_run.wait() != 0:
                    fail(f"kelvorin-capture ended with {native_run.returncode}")
            if not matches_capture(out, ms, web):
                problems.append(f"{ms} ms")
    if problems:
        fail(f"the browser's frame differs from the desktop's at {', '.join(problems)}")


if __name__ == "__main__":
    browser.main(test)

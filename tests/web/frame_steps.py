#!/usr/bin/python3
"""Frame by frame: paused, . shows the next frame of the 60 fps clock and , the one before, each
the offline renderer's frame of that clock, and the address follows; playing, the two keys do
nothing. In the cloud tunnel, where every frame differs from the last."""
import browser
from browser import fail, hooks, wait_for, waiting
from parity import in_scratch, matches_capture, start_capture
from paused_parity import shot
from steps import check_console, controls_gone, pause, play, press, query_t, seek

START = 66150


def frame_clock(k):
    return k * 1000 // 60


def test():
    in_scratch(compare)


def compare(out):
    first = -(-START * 60 // 1000)  # the first frame at or after START
    moments = [frame_clock(first + 1), frame_clock(first + 2)]
    native_run = start_capture(out, moments)
    with browser.session(also_end=[native_run.pid]) as (driver, server):
        browser.page_size(driver, 800, 600)
        play(driver, server)
        press(driver, ".")
        if hooks(driver)["paused"]:
            fail("playing, . paused the demo")
        pause(driver)
        if seek(driver, START) != frame_clock(first):
            fail(f"the seek to {START} ms did not land on frame {first}")
        controls_gone(driver)
        waiting("kelvorin-capture")
        if native_run.wait() != 0:
            fail(f"kelvorin-capture ended with {native_run.returncode}")
        problems = []
        for key, k in [(".", first + 1), (".", first + 2), (",", first + 1)]:
            press(driver, key)
            wait_for(driver, f"kelvorin.clock === {frame_clock(k)}", f"{key!r} to show frame {k}", seconds=10)
            if query_t(driver) != f"{frame_clock(k) / 1000:.3f}".rstrip("0").rstrip("."):
                fail(f"at frame {k} the address says t={query_t(driver)}")
            controls_gone(driver)
            if not matches_capture(out, frame_clock(k), shot(driver)):
                problems.append(f"frame {k} ({frame_clock(k)} ms)")
        if not hooks(driver)["paused"]:
            fail("stepping resumed the demo")
        if problems:
            fail(f"stepped frames differ from kelvorin-capture's: {', '.join(problems)}")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

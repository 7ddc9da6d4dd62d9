#!/usr/bin/python3
"""A lost picture comes back: the browser takes WebGL away (WEBGL_lose_context) while the demo
plays, and gives it back; the demo builds its picture again and plays on from the same clock.
Then paused, the same again, and the paused picture is then kelvorin-capture --at's frame of
that moment. kelvorin.recoveries counts them."""
import browser
from browser import fail, hooks, wait_for, waiting
from parity import in_scratch, matches_capture, start_capture
from paused_parity import shot
from steps import check_console, controls_gone, pause, play, seek

MOMENT = 66150  # the tunnel's clouds and sprites: textures, blending, depth


def lose_and_restore(driver):
    """Takes the canvas's context away and gives it back, as the browser does after a reset."""
    driver.execute_async_script("""
        const done = arguments[0];
        const lose = document.getElementById('canvas').getContext('webgl2').getExtension('WEBGL_lose_context');
        lose.loseContext();
        setTimeout(() => { lose.restoreContext(); done(); }, 200);""")


def test():
    in_scratch(compare)


def compare(out):
    native_run = start_capture(out, [MOMENT])
    with browser.session(also_end=[native_run.pid]) as (driver, server):
        browser.page_size(driver, 800, 600)
        play(driver, server)
        wait_for(driver, "kelvorin.clock > 2000", "the demo to play")
        before = hooks(driver)["clock"]
        lose_and_restore(driver)
        wait_for(driver, "kelvorin.recoveries === 1", "the picture to come back while playing")
        wait_for(driver, f"kelvorin.clock > {before + 2000} && kelvorin.fps > 10", "the demo to play on")
        state = hooks(driver)
        if state["state"] != "playing" or state["clock"] > before + 60000:
            fail(f"after the lost context the demo is {state}")

        pause(driver)
        shown = seek(driver, MOMENT)
        lose_and_restore(driver)
        wait_for(driver, "kelvorin.recoveries === 2", "the picture to come back while paused")
        controls_gone(driver)
        waiting("kelvorin-capture")
        if native_run.wait() != 0:
            fail(f"kelvorin-capture ended with {native_run.returncode}")
        state = hooks(driver)
        if not state["paused"] or state["clock"] != shown:
            fail(f"after the lost context the paused demo is {state}, not at {shown} ms")
        if not matches_capture(out, MOMENT, shot(driver)):
            fail(f"after the lost context the paused picture differs from kelvorin-capture's at {MOMENT} ms")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

#!/usr/bin/python3
"""?loop=1 plays the demo over and over: at its length the clock starts again from 0 in the
banner scene and the music from its beginning, in step with the picture; without it the demo
stays in its closing scene past its length. ?window=1 answers the start question ahead, so an
unattended screen needs no click."""
import browser
from browser import fail, hooks, wait_for
from steps import check_console, play


def test():
    with browser.session() as (driver, server):
        driver.get(server.url("index.html?window=1&loop=1&t=188"))
        wait_for(driver, "kelvorin.state === 'playing' && kelvorin.fps > 0", "the demo to play unanswered")
        duration = hooks(driver)["duration"]
        wait_for(driver, f"kelvorin.scene === 8 && kelvorin.clock > {duration - 3000}", "the closing scene", seconds=20)
        wait_for(driver, "kelvorin.clock < 3000 && kelvorin.scene === 0", "the demo to start again", seconds=20)
        wait_for(driver, "kelvorin.clock > 3000 && kelvorin.music !== null", "the next pass to play on", seconds=20)
        state = hooks(driver)
        if state["scene"] != 0 or abs(state["heard"] * 1000 - state["clock"]) > 100:
            fail(f"the next pass is in scene {state['scene']} at {state['clock']} ms, its music at {state['heard']} s")
        check_console(driver)

        play(driver, server, "?t=188")
        wait_for(driver, f"kelvorin.clock > {duration + 1000}", "the demo to pass its length", seconds=20)
        if hooks(driver)["scene"] != 8:
            fail(f"without ?loop=1 the demo left its closing scene: {hooks(driver)}")


if __name__ == "__main__":
    browser.main(test)

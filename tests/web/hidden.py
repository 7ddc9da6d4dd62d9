#!/usr/bin/python3
"""A hidden tab pauses the demo and its music; coming back leaves them paused until the
viewer resumes."""
import time

import browser
from browser import fail, hooks, wait_for
from steps import check_console, hide_and_show, play, press


def test():
    with browser.session() as (driver, server):
        play(driver, server)
        wait_for(driver, "kelvorin.clock > 2000 && kelvorin.music !== null", "the demo and its music")
        hide_and_show(driver)
        wait_for(driver, "document.visibilityState === 'visible'", "the page to show again")
        time.sleep(1)
        state = hooks(driver)
        if not state["paused"] or state["music"] is not None:
            fail(f"hiding the page did not leave the demo paused and silent: {state}")
        clock = state["clock"]
        time.sleep(0.5)
        if hooks(driver)["clock"] != clock:
            fail("the demo clock runs on while paused")
        press(driver, " ")
        wait_for(driver, f"!kelvorin.paused && kelvorin.clock > {clock + 500}", "Space to resume")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

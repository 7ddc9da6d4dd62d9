#!/usr/bin/python3
"""A moment as a link: index.html?t=95.5 asks the start question as usual, then plays from
95.5 s (in the finale), with the music from there too; a ?t= that is not a number of seconds
gets a message instead of a demo."""
import browser
from browser import fail, hooks, wait_for
from steps import check_console, play


def test():
    with browser.session() as (driver, server):
        play(driver, server, "?t=95.5")
        state = hooks(driver)
        if not 95500 <= state["clock"] < 100000 or state["scene"] != 7:
            fail(f"?t=95.5 did not play from 95.5 s in the finale: {state}")
        wait_for(driver, "kelvorin.music !== null", "the music to play")
        state = hooks(driver)
        if abs(state["heard"] * 1000 - state["clock"]) > 100:
            fail(f"the music plays at {state['music']} s while the demo is at {state['clock']} ms")
        check_console(driver)

        driver.get(server.url("index.html?t=soon"))
        wait_for(driver, "kelvorin.state !== 'loading'", "the page to refuse ?t=soon")
        state = hooks(driver)
        if state["state"] != "error" or "?t=SECONDS" not in state["message"]:
            fail(f"?t=soon was not refused with a message: {state}")


if __name__ == "__main__":
    browser.main(test)

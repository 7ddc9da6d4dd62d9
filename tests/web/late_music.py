#!/usr/bin/python3
"""Music that does not come: held back by the server from the start, then after a seek its new
range. The picture waits for it a few seconds at most, then plays on silently with a notice that
says so; once the music comes, it joins at the demo's clock. The line is slow (serve.py's
throttle), so that the music is not all there before the seek."""
import os

import browser
from browser import fail, hooks, wait_for
from steps import check_console, held_back, play, seek

TARGET = 150000  # ms, far beyond what the slow line has brought


def late_then_joins(driver, flag, past):
    """The page says the music is late and plays on past this clock without it; once the server
    lets the music go (the flag removed), it joins at the demo's clock."""
    wait_for(driver, "kelvorin.message.startsWith('The music is late')", "the page to say the music is late",
             seconds=30)
    wait_for(driver, f"kelvorin.clock > {past}", "the picture to play on without its music", seconds=10)
    state = hooks(driver)
    if state["music"] is not None or state["paused"] or state["state"] != "playing":
        fail(f"while the music is held back the page is {state}")
    os.remove(flag)
    wait_for(driver, "kelvorin.music !== null && Math.abs(kelvorin.music * 1000 - kelvorin.clock) < 500",
             "the music to join at the demo's clock", seconds=60)


def test():
    with held_back(r"/Data/kelvorin\.", ["--rate", "100000"]) as (driver, server, flag):
        play(driver, server)  # the start waits for the held music a few seconds at most
        late_then_joins(driver, flag, 1000)

        open(flag, "w").close()
        seek(driver, TARGET)
        late_then_joins(driver, flag, TARGET + 1000)
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

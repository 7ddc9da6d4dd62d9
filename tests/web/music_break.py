#!/usr/bin/python3
"""The music's download breaking off while it plays: the server cuts it after its first few
seconds and refuses the rest. The demo does not play on in silence: it pauses with a message
and a Try again button; once the network is back, Try again goes on from where it was, picture
and music together."""
import os
import tempfile

import browser
from browser import fail, hooks, wait_for
from steps import play

CUT = 160000  # bytes of the music that arrive: about 6 s


def test():
    flag = tempfile.NamedTemporaryFile(prefix="kelvorin-break-", delete=False).name
    try:
        with browser.session(server_args=["--break", r"/Data/kelvorin\.", str(CUT), flag],
                             expected_errors=["kelvorin."]) as (driver, server):
            play(driver, server)
            wait_for(driver, "kelvorin.music !== null", "the music to start")
            wait_for(driver, "kelvorin.paused && !document.getElementById('stalled').hidden",
                     "the page to say that the music stopped", seconds=120)
            shown = driver.execute_script("return document.getElementById('stalled').innerText;")
            where = hooks(driver)["clock"]
            if "music" not in shown or "Try again" not in shown or hooks(driver)["state"] != "playing":
                fail(f"the broken download shows {shown!r}: {hooks(driver)}")
            if where > 30000:
                fail(f"the demo went on to {where} ms without its music")

            os.unlink(flag)
            driver.click("retry")
            wait_for(driver, f"!kelvorin.paused && kelvorin.music !== null && kelvorin.clock > {where + 2000}",
                     "the demo and its music to go on", seconds=60)
            state = hooks(driver)
            if abs(state["music"] * 1000 - state["clock"]) > 300:
                fail(f"after Try again the music is at {state['music']} s and the demo at {state['clock']} ms")
            if state["clock"] > where + 20000:
                fail(f"Try again did not go on from {where} ms: {state['clock']}")
    finally:
        if os.path.exists(flag):
            os.unlink(flag)


if __name__ == "__main__":
    browser.main(test)

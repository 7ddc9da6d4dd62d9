#!/usr/bin/python3
"""Sound in step at the viewer's ears: with the browser reporting an output latency of 0.2 s (as
Bluetooth headphones give), the music is sent 0.2 s ahead of the picture, kelvorin.heard is
kelvorin.music less 0.2 s, and the demo clock follows what is heard to within a frame."""
import time

import browser
from browser import fail, hooks, wait_for
from steps import check_console, play

LATENCY = 0.2
FRAME_MS = 1000 / 60


def test():
    with browser.session() as (driver, server):
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": (
            "Object.defineProperty(AudioContext.prototype, 'outputLatency', "
            f"{{ get() {{ return {LATENCY}; }}, configurable: true }});")})
        play(driver, server)
        wait_for(driver, "kelvorin.music !== null && kelvorin.clock > 1000", "the music to play")
        time.sleep(1)
        samples = []
        for _ in range(20):
            samples.append(hooks(driver))
            time.sleep(0.1)
        for state in samples:
            if abs(state["music"] - state["heard"] - LATENCY) > 1e-6:
                fail(f"heard is not music less {LATENCY} s: {state}")
            if abs(state["clock"] - state["heard"] * 1000) > FRAME_MS + 1:
                fail(f"the demo clock {state['clock']} ms is more than a frame from what is heard "
                     f"({state['heard'] * 1000:.0f} ms)")
        print(f"clock less heard over {len(samples)} passes: "
              f"{[round(s['clock'] - s['heard'] * 1000) for s in samples]} ms")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

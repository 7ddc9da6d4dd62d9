#!/usr/bin/python3
"""A browser with no sound device at all (Firefox with no sound server keeps its audio context
suspended for good): the page says "No sound: …" soon after the answer and the demo plays on
silently, its clock going on. WebKitGTK runs its context without a device and plays."""
import browser
from browser import fail, hooks, wait_for
from steps import play


def test():
    with browser.session(sound=False) as (driver, server):
        play(driver, server)
        said = wait_for(driver, "(document.getElementById('notice').innerText.match(/No sound: .*/) || [])[0]",
                        "the notice that there is no sound", seconds=15)
        clock = hooks(driver)["clock"]
        wait_for(driver, f"kelvorin.clock > {clock + 1000}", "the demo to play on silently", seconds=15)
        print(f"said: {said}")


if __name__ == "__main__":
    browser.main(test)

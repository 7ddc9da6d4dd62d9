#!/usr/bin/python3
"""Pause and resume as a viewer does: Space pauses picture, clock and music; the address then
carries ?t= of the paused moment, Share copies that link, nothing covers the picture, which is
drawn again when the window changes size, and the controls go after 3 s without input, paused
or not; M mutes; K resumes from the same moment, with the music in step and the address without
?t=; Escape ends a paused demo."""
import time

import browser
from browser import fail, hooks, wait_for
from play import brightness
from steps import check_console, pause, play, press, query_t


def test():
    with browser.session() as (driver, server):
        play(driver, server)
        wait_for(driver, "kelvorin.clock > 3000", "the demo to play 3 s")

        paused = pause(driver)
        time.sleep(1)
        state = hooks(driver)
        if state["clock"] != paused or state["music"] is not None:
            fail(f"the clock or the music went on while paused: {paused} then {state}")
        if query_t(driver) is None or abs(float(query_t(driver)) * 1000 - paused) > 0.5:
            fail(f"the address does not carry ?t= of {paused} ms: {driver.current_url}")
        covered = driver.execute_script(
            "const r = document.getElementById('canvas').getBoundingClientRect();"
            "const e = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);"
            "return e.id;")
        if covered != "canvas":
            fail(f"the paused picture is covered by #{covered}")
        browser.page_size(driver, 700, 450)
        wait_for(driver, "document.getElementById('canvas').width !== 1024", "the canvas to take the new size")
        time.sleep(0.5)
        if brightness(driver) < 0.01 or hooks(driver)["clock"] != paused:
            fail(f"after a new window size the paused picture is black or moved: {hooks(driver)}")

        # The controls come with the pointer and go 3 s after the last input, also while paused.
        driver.move_to("canvas")
        if not driver.execute_script("return document.getElementById('controls').classList.contains('shown');"):
            fail("moving the pointer did not show the controls")
        driver.click("share")
        wait_for(driver, "kelvorin.shared !== null", "Share to copy a link")
        if hooks(driver)["shared"] != driver.current_url:
            fail(f"Share copied {hooks(driver)['shared']}, the address is {driver.current_url}")
        wait_for(driver, "!document.getElementById('controls').classList.contains('shown')",
                 "the controls to go", seconds=6)

        press(driver, "m")
        if not hooks(driver)["muted"]:
            fail("M did not mute")
        press(driver, "m")

        press(driver, "k")
        wait_for(driver, f"!kelvorin.paused && kelvorin.clock > {paused + 1000}", "K to resume")
        if query_t(driver) is not None:
            fail(f"the address keeps ?t= while playing: {driver.current_url}")
        wait_for(driver, "kelvorin.music !== null", "the music to resume")
        state = hooks(driver)
        if abs(state["heard"] * 1000 - state["clock"]) > 100:
            fail(f"the music resumed at {state['music']} s, the demo at {state['clock']} ms")

        pause(driver)
        press(driver, "Escape")
        wait_for(driver, "kelvorin.state === 'ended'", "Escape to end the paused demo")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

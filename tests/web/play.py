#!/usr/bin/python3
"""Playing in the page, as a viewer would: the start question with the program's own texts,
Return for Yes (fullscreen), the demo playing with its clock running and a picture on the
screen, the music running in step with the demo clock, F1 back to the page with the demo going
on at the canvas's new size, Escape to the end screen with picture and music stopped, and Play
again from the start. No errors in the console (browser.session checks)."""
import subprocess
import time

import browser
from browser import fail, hooks, wait_for, waiting
from steps import press


def visible(driver, element_id):
    return driver.execute_script(
        f"const e = document.getElementById('{element_id}'); return !!e && e.getClientRects().length > 0;")


def brightness(driver):
    """The mean brightness (0 to 1) of the canvas's area on the screen."""
    box = driver.execute_script("const r = document.getElementById('canvas').getBoundingClientRect();"
                                "return [r.left, r.top, r.width, r.height].map(Math.round);")
    x, y, w, h = box
    out = subprocess.run(["convert", "png:-", "-crop", f"{w}x{h}+{x}+{y}", "-format", "%[fx:mean]", "info:"],
                         input=driver.get_screenshot_as_png(), capture_output=True, check=True).stdout
    return float(out)


def music_in_step(driver):
    """Waits for a pass in which the music plays; how far it is from the demo clock, in ms."""
    wait_for(driver, "kelvorin.music !== null", "the music to play")
    state = hooks(driver)
    return abs(state["music"] * 1000 - state["clock"])


def test():
    with browser.session() as (driver, server):
        driver.get(server.url("index.html"))
        wait_for(driver, "kelvorin.state !== 'loading'", "the start question")
        if hooks(driver)["state"] != "question" or not visible(driver, "question"):
            fail(f"no start question: {hooks(driver)}")
        texts = driver.execute_script(
            "return ['question-caption', 'yes', 'no'].map(id => document.getElementById(id).textContent)"
            ".concat(document.querySelector('#question .text').textContent);")
        if texts != ["Start FullScreen?", "Yes", "No", "Would You Like To Run In Fullscreen Mode?"]:
            fail(f"the start question reads {texts}")

        press(driver, "Enter")
        wait_for(driver, "kelvorin.state === 'playing' && kelvorin.clock > 3000", "the demo to play 3 s")
        if visible(driver, "question"):
            fail("the start question stayed after Return")
        if not driver.execute_script("return document.fullscreenElement === document.getElementById('stage');"):
            fail("Return (Yes) did not go fullscreen")
        first = hooks(driver)
        if first["audio"] != "running":
            fail(f"the audio context is {first['audio']}")
        if brightness(driver) < 0.01:
            fail("the canvas is black at 3 s")
        drift = music_in_step(driver)
        if drift > 150:
            fail(f"the music is {drift:.0f} ms away from the demo clock")
        time.sleep(1)
        if hooks(driver)["clock"] <= first["clock"] or hooks(driver)["fps"] < 1:
            fail(f"the clock does not advance: {first} then {hooks(driver)}")

        # F1 leaves fullscreen; the drawing buffer follows the canvas's new size.
        press(driver, "F1")
        wait_for(driver, "!document.fullscreenElement", "F1 to leave fullscreen")
        before = hooks(driver)["clock"]
        wait_for(driver, f"kelvorin.clock > {before + 1000}", "the demo to go on after F1")
        sizes = driver.execute_script("const c = document.getElementById('canvas'); "
                                      "return [c.width, c.height, c.clientWidth, c.clientHeight];")
        if sizes[:2] != sizes[2:] or hooks(driver)["state"] != "playing":
            fail(f"after F1 the drawing buffer and the canvas are {sizes}: {hooks(driver)}")

        press(driver, "Escape")
        wait_for(driver, "kelvorin.state !== 'playing'", "Escape to end the demo")
        ended = hooks(driver)
        if ended["state"] != "ended" or not visible(driver, "end") or visible(driver, "stage"):
            fail(f"Escape did not give the end screen: {ended}")
        if ended["music"] is not None:
            fail("the music plays on after Escape")
        time.sleep(0.5)
        if hooks(driver)["clock"] != ended["clock"]:
            fail("the demo clock runs on after Escape")

        # Play again: the question, then the demo from its start.
        wait_for(driver, "document.activeElement === document.getElementById('again')", "the Play again button")
        driver.click("again")
        wait_for(driver, "kelvorin.state === 'question'", "the start question again")
        driver.click("no")
        wait_for(driver, "kelvorin.state === 'playing' && kelvorin.fps > 0", "the demo to play again")
        if hooks(driver)["clock"] > 5000:
            fail(f"the second play did not start from the beginning: {hooks(driver)}")
        if driver.execute_script("return !!document.fullscreenElement;"):
            fail("No went fullscreen")


if __name__ == "__main__":
    browser.main(test)

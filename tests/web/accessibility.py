#!/usr/bin/python3
"""Accessibility checked, not assumed: axe-core (build/npm, installed by script/setup) finds no
violation in each state of the page: the start question, playing with the control bar shown,
paused, the keys' overlay, the ended screen, and a message."""
import os

import browser
from browser import fail, wait_for
from steps import check_console, pause, play, press


def violations(driver, axe):
    """axe-core's violations on the page as it is now: rule, impact and the elements."""
    driver.execute_script(axe)
    found = driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        // Label in Name (WCAG 2.5.3) is among axe's experimental rules: asked for by name.
        axe.run(document, { resultTypes: ['violations'],
                            rules: { 'label-content-name-mismatch': { enabled: true } } }).then(
          (r) => done(r.violations.map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`)),
          (e) => done([`axe-core failed: ${e}`]));""")
    return found


def test():
    path = os.environ.get("AXE") or os.path.join(os.environ["NATIVE"], "npm", "node_modules", "axe-core", "axe.min.js")
    if not os.path.exists(path):
        fail(f"no axe-core at {path} (script/setup installs it)")
    with open(path) as f:
        axe = f.read()
    found = {}
    with browser.session() as (driver, server):
        driver.get(server.url("index.html"))
        wait_for(driver, "kelvorin.state === 'question'", "the question")
        found["the question"] = violations(driver, axe)

        driver.click("no")
        wait_for(driver, "kelvorin.state === 'playing' && kelvorin.fps > 0", "the demo to play")
        press(driver, "m")  # any key of the player's brings the bar
        wait_for(driver, "document.getElementById('controls').classList.contains('shown')", "the control bar")
        found["playing with the bar"] = violations(driver, axe)

        pause(driver)
        found["paused"] = violations(driver, axe)

        press(driver, "?")
        wait_for(driver, "kelvorin.help", "the keys' overlay")
        found["the keys' overlay"] = violations(driver, axe)
        press(driver, "Escape")
        wait_for(driver, "!kelvorin.help", "the overlay to close")

        press(driver, "Escape")
        wait_for(driver, "kelvorin.state === 'ended'", "the ended screen")
        found["the ended screen"] = violations(driver, axe)

        driver.get(server.url("index.html?t=soon"))
        wait_for(driver, "kelvorin.state === 'error'", "the message for a bad address")
        found["a message"] = violations(driver, axe)
        check_console(driver)
    bad = {state: v for state, v in found.items() if v}
    if bad:
        fail("axe-core finds: " + "; ".join(f"{state}: {v}" for state, v in bad.items()))
    print(f"axe-core finds nothing in {len(found)} states: {', '.join(found)}")


if __name__ == "__main__":
    browser.main(test)

#!/usr/bin/python3
"""The keys at a glance: ? opens an overlay of every key and gesture, a modal dialog with the
focus in it, while the demo plays on; Escape closes it without ending the demo, and gives the
focus back. The control bar's button opens it too, and a tap on it closes it."""
import browser
from browser import fail, hooks, wait_for
from steps import check_console, play, press


def dialog(driver):
    return driver.execute_script(
        "const d = document.getElementById('help');"
        "return [!d.hidden, d.getAttribute('role'), d.getAttribute('aria-modal'),"
        " d.contains(document.activeElement), d.innerText];")


def test():
    with browser.session() as (driver, server):
        play(driver, server)
        press(driver, "?")
        wait_for(driver, "kelvorin.help", "? to open the keys")
        shown, role, modal, focused, text = dialog(driver)
        if not shown or role != "dialog" or modal != "true" or not focused:
            fail(f"the keys' overlay is shown={shown} role={role} modal={modal} focused={focused}")
        for key in ["Space", "J, L", ", .", "M", "Escape", "?", "Tap"]:
            if key not in text:
                fail(f"the keys' overlay does not name {key!r}: {text!r}")
        clock = hooks(driver)["clock"]
        wait_for(driver, f"kelvorin.clock > {clock + 1000}", "the demo to play on under the overlay")

        press(driver, "Escape")
        wait_for(driver, "!kelvorin.help", "Escape to close the keys")
        state = hooks(driver)
        if state["state"] != "playing" or state["paused"]:
            fail(f"Escape on the overlay ended or paused the demo: {state}")

        driver.execute_script("document.getElementById('keys').click();")
        wait_for(driver, "kelvorin.help", "the control bar's button to open the keys")
        driver.click("help")
        wait_for(driver, "!kelvorin.help", "a tap to close the keys")
        press(driver, "?")
        wait_for(driver, "kelvorin.help", "? to open the keys again")
        press(driver, "?")
        wait_for(driver, "!kelvorin.help", "? to close the keys")
        if hooks(driver)["state"] != "playing":
            fail(f"the overlay's keys reached the demo: {hooks(driver)}")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

#!/usr/bin/python3
"""Reduced flashing in the page: the start question's box is ticked where the system asks for
less motion (the engine's emulated prefers-reduced-motion, where its driver has one) and only
there, ?reduced-flashing=1 or =0 decides before it, the warning line links to the reduced
mode, and the box's state goes with the answer (window.kelvorin.reducedFlashing)."""
import browser
from browser import fail, hooks, wait_for


def question(driver, server, query, motion):
    """Loads the page with the system asking for this motion; the box's state and the hook's."""
    driver.get(server.url("index.html" + query))
    wait_for(driver, "kelvorin.state !== 'loading'", f"the start question of index.html{query}")
    state = hooks(driver)
    if state["state"] != "question":
        fail(f"no start question for index.html{query}: {state}")
    return driver.execute_script("return document.getElementById('reduced-flashing').checked;"), \
        state["reducedFlashing"]


def test():
    with browser.session() as (driver, server):
        for query, motion, ticked in [("", "reduce", True), ("", "no-preference", False),
                                      ("?reduced-flashing=1", "no-preference", True),
                                      ("?reduced-flashing=0", "reduce", False)]:
            if not driver.prefer_motion(motion) and not query:  # the query decides whatever the system asks
                print(f"skipped in {browser.ENGINE}: index.html with prefers-reduced-motion: {motion}"
                      " (its driver cannot emulate the media feature)")
                continue
            shown = question(driver, server, query, motion)
            if shown != (ticked, ticked):
                fail(f"index.html{query} with prefers-reduced-motion: {motion}: box and hook {shown}")

        text, link = driver.execute_script(
            "const line = document.getElementById('flash-warning');"
            "return [line.getClientRects().length ? line.innerText : '', line.querySelector('a').href];")
        if "flashing lights and rapid changes of brightness" not in text:
            fail(f"the start question's warning reads {text!r}")
        driver.get(link)
        wait_for(driver, "kelvorin.state === 'question'", "the start question after the warning's link")
        if not driver.execute_script("return document.getElementById('reduced-flashing').checked;"):
            fail(f"the warning's link {link} does not tick the box")

        # Ticked by the viewer, then No: the demo starts in the page in the reduced mode.
        driver.prefer_motion("no-preference")
        question(driver, server, "", "no-preference")
        driver.click("reduced-flashing")
        driver.click("no")
        wait_for(driver, "kelvorin.state === 'playing' && kelvorin.clock > 500", "the demo to play")
        if hooks(driver)["reducedFlashing"] is not True:
            fail(f"the ticked box did not go with the answer: {hooks(driver)}")
        if browser.console_errors(driver):
            fail(f"errors in the console: {browser.console_errors(driver)}")


if __name__ == "__main__":
    browser.main(test)

#!/usr/bin/python3
"""A browser without WebGL 2 (Chromium without a GPU and without its software rasteriser, so that
neither the page nor a worker has it) gets a clear message, not a blank page or a start
question that leads nowhere (the question, there from the first paint, gives way to it), and
downloads nothing it cannot use."""
import browser
from browser import fail, hooks, wait_for


def test():
    with browser.session(webgl=False) as (driver, server):
        driver.get(server.url("index.html"))
        wait_for(driver, "kelvorin.state === 'error'", "the page to find no WebGL 2")
        state = hooks(driver)
        shown = driver.execute_script("return document.getElementById('message').innerText;")
        if state["state"] != "error" or "WebGL 2" not in shown:
            fail(f"no WebGL 2 message: {state}, the page shows {shown!r}")
        if driver.execute_script("return !document.getElementById('question').hidden;"):
            fail("the start question is shown without WebGL 2")
        fetched = driver.execute_script("return performance.getEntriesByType('resource').map(e => e.name);")
        if any("Data/" in name or "kelvorin.wasm" in name for name in fetched):
            fail(f"downloaded the demo without WebGL 2: {fetched}")


if __name__ == "__main__":
    browser.main(test)

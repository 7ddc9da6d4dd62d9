#!/usr/bin/python3
"""On a phone: an 844x390 landscape screen with touch and no Fullscreen API (as on an iPhone).
The page has a proper viewport; a tap on Yes answers the start question at the touch's end and
starts the sound; the demo then plays in the page, filling it at 4:3, with no fullscreen
button; a tap on the picture brings the controls, in the picture's bottom quarter and large
enough for a finger, without pausing."""
import browser
from browser import fail, hooks, wait_for
from steps import check_console

WIDTH, HEIGHT = 844, 390
NO_FULLSCREEN = ("delete Element.prototype.requestFullscreen; delete Element.prototype.webkitRequestFullscreen;"
                 "delete Document.prototype.exitFullscreen;")


def tap(driver, element_id=None, x=None, y=None):
    """A touch start and end at the element's centre (or at x, y)."""
    if element_id:
        x, y = driver.execute_script(
            f"const r = document.getElementById('{element_id}').getBoundingClientRect();"
            "return [r.left + r.width / 2, r.top + r.height / 2];")
    point = [{"x": x, "y": y}]
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": point})
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})


def box(driver, element_id):
    return driver.execute_script(f"const r = document.getElementById('{element_id}').getBoundingClientRect();"
                                 "return [r.left, r.top, r.width, r.height];")


def test():
    with browser.session() as (driver, server):
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": WIDTH, "height": HEIGHT, "deviceScaleFactor": 2, "mobile": True})
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": NO_FULLSCREEN})
        driver.get(server.url("index.html"))
        wait_for(driver, "kelvorin.state === 'question'", "the start question")
        viewport = driver.execute_script("return document.querySelector('meta[name=viewport]').content;")
        if "width=device-width" not in viewport or "initial-scale=1" not in viewport:
            fail(f"the viewport is {viewport!r}")
        if driver.execute_script("return innerWidth;") != WIDTH:
            fail(f"the page is {driver.execute_script('return innerWidth;')} CSS pixels wide, not {WIDTH}")

        tap(driver, "yes")
        wait_for(driver, "kelvorin.state === 'playing' && kelvorin.fps > 0", "the tap on Yes to start the demo")
        if hooks(driver)["audio"] != "running":
            fail(f"the tap did not start the sound: {hooks(driver)['audio']}")
        if driver.execute_script("return !!document.fullscreenElement;"):
            fail("the page went fullscreen without a Fullscreen API")
        x, y, w, h = box(driver, "canvas")
        if abs(h - HEIGHT) > 1 or abs(w - HEIGHT * 4 / 3) > 1 or abs(x - (WIDTH - w) / 2) > 1:
            fail(f"the picture does not fill the page at 4:3: {[x, y, w, h]}")
        if driver.execute_script("return getComputedStyle(document.getElementById('fullscreen')).display;") != "none":
            fail("the fullscreen button shows without a Fullscreen API")

        tap(driver, x=x + w / 2, y=y + h / 3)
        wait_for(driver, "document.getElementById('controls').classList.contains('shown')", "a tap to bring the controls")
        if hooks(driver)["paused"]:
            fail("a tap on the picture paused the demo")
        cx, cy, cw, ch = box(driver, "controls")
        if cy < y + h * 0.75 - 1 or cy + ch > y + h + 1:
            fail(f"the controls {[cx, cy, cw, ch]} are not in the bottom quarter of the picture {[x, y, w, h]}")
        bx, by, bw, bh = box(driver, "play-pause")
        if min(bw, bh) < 24:
            fail(f"the play button is {bw}x{bh} CSS pixels, too small for a finger")
        tap(driver, "play-pause")
        wait_for(driver, "kelvorin.paused", "a tap on the pause button")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

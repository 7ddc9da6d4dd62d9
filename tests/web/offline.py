#!/usr/bin/python3
"""Offline and installable: the page has a web app manifest (and Safari's own icon and title), and after the first visit its
service worker keeps the whole site, so that with the network switched off a second visit asks
the question, plays the demo with its music, and seeks into the music far ahead of where it
is. The network is switched off by stopping the site's server."""
import json
import os
import signal

import browser
from browser import fail, hooks, wait_for
from steps import check_console, play, seek


def test():
    with browser.session() as (driver, server):
        play(driver, server)
        wait_for(driver, "kelvorin.offline", "the service worker to keep the site")
        manifest = driver.execute_async_script(
            "const done = arguments[0];"
            "fetch(document.querySelector('link[rel=manifest]').href).then((r) => r.json()).then(done);")
        sizes = {icon["sizes"] for icon in manifest["icons"]}
        if manifest["name"] != "KELVORIN" or manifest["display"] != "fullscreen" or not {"192x192", "512x512"} <= sizes:
            fail(f"the manifest is {json.dumps(manifest)}")
        # Safari's Add to Home Screen reads neither: its icon and title come from the page.
        apple = driver.execute_async_script(
            "const done = arguments[0], link = document.querySelector('link[rel=apple-touch-icon]');"
            "const title = document.querySelector('meta[name=apple-mobile-web-app-title]').content;"
            "const image = new Image(); image.onerror = () => done(null);"
            "image.onload = () => done([link.sizes.value, image.naturalWidth, image.naturalHeight, title]);"
            "image.src = link.href;")
        if apple != ["180x180", 180, 180, "KELVORIN"]:
            fail(f"the apple-touch-icon's size, width, height and the title: {apple}")
        kept = driver.execute_async_script(
            "const done = arguments[0];"
            "caches.keys().then((k) => caches.open(k[0])).then((c) => c.keys()).then((r) => done(r.length));")
        if not kept:
            fail("the service worker's cache is empty")

        # The network off: the site's server goes (the service worker's own requests, which the
        # browser's network emulation does not reach, fail as well).
        os.killpg(server.process.pid, signal.SIGKILL)
        server.process.wait()
        if driver.execute_async_script(
                "const done = arguments[0]; fetch('index.html?network', {cache: 'no-store'})"
                ".then(() => done('fetched'), () => done('offline'));") != "offline":
            fail("the network is still on")
        left = [e for e in browser.console_errors(driver) if "index.html?network" not in e]
        if left:
            fail(f"errors in the console: {left}")
        play(driver, server)
        wait_for(driver, "kelvorin.music !== null && kelvorin.clock > 2000", "the music to play offline")
        seek(driver, 150000)
        wait_for(driver, "kelvorin.music !== null && kelvorin.music > 150", "the music at 150 s offline", seconds=30)
        state = hooks(driver)
        if state["state"] != "playing" or abs(state["music"] * 1000 - state["clock"]) > 500:
            fail(f"offline, the demo plays {state}")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

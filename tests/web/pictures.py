#!/usr/bin/python3
"""The pictures that the page makes in its workers on a first visit are kept, and they are the
very files that the native art generator writes into build/Data/, byte for byte, every one of
them; a second visit reads them and makes none. The demo starts before the last is made, and a
seek straight to the finale, paused the moment the demo starts, shows the offline renderer's
frame: it waited for the finale's pictures, and drew none without them."""
import glob
import hashlib
import os

import browser
from browser import fail, hooks, wait_for, waiting
from parity import in_scratch, matches_capture, start_capture
from paused_parity import shot
from steps import check_console, controls_gone, pause, play, seek

FINALE = 100000  # ms: the finale's floor, sun and petals


def expected_pictures():
    """path ("Data/nuage.bmp") -> SHA-256 of build/Data/'s file."""
    native = os.path.join(os.environ["NATIVE"], "Data")
    expected = {}
    for path in glob.glob(os.path.join(native, "*.bmp")):
        with open(path, "rb") as f:
            expected["Data/" + os.path.basename(path)] = hashlib.sha256(f.read()).hexdigest()
    return expected


def kept_pictures(driver):
    """path -> SHA-256 of the bytes in the store where the page keeps its pictures."""
    site = os.path.basename(glob.glob(os.path.join(browser.SITE, "site.*.js"))[0])
    kept = driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const hex = (b) => [...new Uint8Array(b)].map((x) => x.toString(16).padStart(2, '0')).join('');
        import(arguments[0]).then(async ({ PICTURES }) => {
          const store = await caches.open(PICTURES), kept = {};
          for (const request of await store.keys()) {
            const bytes = await (await store.match(request)).arrayBuffer();
            kept[new URL(request.url).pathname.slice(1)] = hex(await crypto.subtle.digest('SHA-256', bytes));
          }
          return kept;
        }).then(done, (e) => done(String(e)));
        """, f"./{site}")
    if not isinstance(kept, dict):
        fail(f"the kept pictures could not be read: {kept}")
    return kept


def test():
    in_scratch(visits)


def visits(out):
    native_run = start_capture(out, [FINALE])
    expected = expected_pictures()
    with browser.session(also_end=[native_run.pid]) as (driver, server):
        browser.page_size(driver, 800, 600)
        play(driver, server)
        made = hooks(driver)["pictures"]["made"]
        pause(driver)
        seek(driver, FINALE)
        print(f"first visit: the demo started with {made} of {len(expected)} pictures made")
        waiting("kelvorin-capture")
        if native_run.wait() != 0:
            fail(f"kelvorin-capture ended with {native_run.returncode}")
        controls_gone(driver)
        if not matches_capture(out, FINALE, shot(driver)):
            fail(f"the finale sought at once differs from kelvorin-capture's frame at {FINALE} ms")

        wait_for(driver, "kelvorin.pictures.kept !== null", "the pictures to be kept")
        state = hooks(driver)["pictures"]
        if state != {"made": len(expected), "read": 0, "kept": True}:
            fail(f"the first visit should make and keep every picture: {state}")
        kept = kept_pictures(driver)
        if kept != expected:
            differ = sorted(p for p in set(kept) | set(expected) if kept.get(p) != expected.get(p))
            fail(f"{len(differ)} of {len(expected)} kept pictures differ from build/Data/: {differ}")
        print(f"{len(kept)} pictures kept, each the same bytes as build/Data/'s")

        play(driver, server)
        state = hooks(driver)["pictures"]
        if state["made"] != 0 or state["read"] != len(expected):
            fail(f"the second visit should read every picture and make none: {state}")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

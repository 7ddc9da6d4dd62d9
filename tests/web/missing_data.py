#!/usr/bin/python3
"""A site with one of the demo's files missing (a picture, then the demo's own code) says which
file could not be downloaded, instead of hanging on the loading screen or offering a demo that
cannot start. Without its music the demo plays silently, as on the desktop, and says why. The
console shows the failed download and nothing else."""
import os
import shutil
import tempfile

import browser
from browser import fail, hooks, wait_for

MISSING = ["Data/espace.bmp", "kelvorin.wasm"]
MUSIC = "Data/kelvorin.mp3"


def site_without(missing):
    """A copy of the site (links to its files) without one of them."""
    site = tempfile.mkdtemp(prefix="kelvorin-site-")
    for folder, _, names in os.walk(browser.SITE):
        relative = os.path.relpath(folder, browser.SITE)
        if relative.startswith("CMakeFiles"):
            continue
        os.makedirs(os.path.join(site, relative), exist_ok=True)
        for name in names:
            path = os.path.normpath(os.path.join(relative, name))
            if path != missing:
                os.symlink(os.path.abspath(os.path.join(folder, name)), os.path.join(site, path))
    return site


def refused(missing):
    """The console's line for the missing file: the only error the page may cause."""
    return f"/{missing} - Failed to load resource: the server responded with a status of 404"


def test():
    for missing in MISSING:
        site = site_without(missing)
        try:
            with browser.session(site=site, expected_errors=[refused(missing)]) as (driver, server):
                driver.get(server.url("index.html"))
                wait_for(driver, "kelvorin.state !== 'loading'", f"the page without {missing} to decide")
                state = hooks(driver)
                shown = driver.execute_script("return document.getElementById('message').innerText;")
                if state["state"] != "error" or missing not in shown or "404" not in shown:
                    fail(f"without {missing}: {state}, the page shows {shown!r}")
                if driver.execute_script("return !document.getElementById('question').hidden;"):
                    fail(f"the start question is shown without {missing}")
        finally:
            shutil.rmtree(site, ignore_errors=True)

    site = site_without(MUSIC)
    try:
        with browser.session(site=site, expected_errors=[refused(MUSIC)]) as (driver, server):
            driver.get(server.url("index.html"))
            wait_for(driver, "kelvorin.state === 'question'", "the question without the music")
            driver.find_element("id", "no").click()
            wait_for(driver, "kelvorin.state === 'playing' && kelvorin.clock > 1000", "the demo to play silently")
            shown = driver.execute_script("return document.getElementById('notice').innerText;")
            if MUSIC not in shown or "404" not in shown or hooks(driver)["music"] is not None:
                fail(f"without the music: {hooks(driver)}, the page says {shown!r}")
    finally:
        shutil.rmtree(site, ignore_errors=True)


if __name__ == "__main__":
    browser.main(test)

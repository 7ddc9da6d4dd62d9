#!/usr/bin/python3
"""A site with one of its files missing says which, instead of hanging on the loading screen or
offering a demo that cannot start: the demo's own code, the picture generator, its worker or
one of its fonts, or a font that the generator cannot read. The question may already be there (it does not wait for them); the message
takes its place. Without its music the demo plays silently, as on the desktop, and says why.
The console shows the failed download and nothing else."""
import fnmatch
import os
import shutil
import tempfile

import browser
from browser import fail, hooks, wait_for

# What goes missing (a pattern of the site's names) and the message's caption.
MISSING = [("kelvorin.*.wasm", "Download failed"), ("art.*.wasm", "The pictures could not be made"),
           ("art-worker.*.js", "The pictures could not be made"),
           ("fonts/DejaVuSans-Bold.*.ttf", "The pictures could not be made")]
MUSIC = "Data/kelvorin.*.mp3"


def site_without(pattern):
    """A copy of the site (links to its files) without the file the pattern names; its name."""
    site = tempfile.mkdtemp(prefix="kelvorin-site-")
    gone = None
    for folder, _, names in os.walk(browser.SITE):
        relative = os.path.relpath(folder, browser.SITE)
        os.makedirs(os.path.join(site, relative), exist_ok=True)
        for name in names:
            path = os.path.normpath(os.path.join(relative, name))
            if fnmatch.fnmatch(path, pattern):
                gone = path
            else:
                os.symlink(os.path.abspath(os.path.join(folder, name)), os.path.join(site, path))
    if not gone:
        fail(f"the site has no {pattern}")
    return site, gone


def refused(missing):
    """What the console's line for the missing file holds: the only error the page may cause.
    Engines word it differently (Chromium's failed load with its 404, Firefox's worker refused
    for the 404 page's type); each names the file."""
    return f"/{missing}"


def test():
    for pattern, caption in MISSING:
        site, missing = site_without(pattern)
        try:
            with browser.session(site=site, expected_errors=[refused(missing)]) as (driver, server):
                driver.get(server.url("index.html"))
                wait_for(driver, "kelvorin.state === 'error'", f"the page without {missing} to say so")
                shown = driver.execute_script("return document.getElementById('message').innerText;")
                named = missing in shown or os.path.basename(missing).split(".")[0] in shown
                if caption not in shown or not named or ("404" not in shown and "start" not in shown):
                    fail(f"without {missing}: {hooks(driver)}, the page shows {shown!r}")
                if driver.execute_script("return !document.getElementById('question').hidden;"):
                    fail(f"the start question stays without {missing}")
        finally:
            shutil.rmtree(site, ignore_errors=True)

    # A font that is there but is no font: the generator itself fails, and says why.
    site, broken = site_without("fonts/DejaVuSans.*.ttf")
    try:
        with open(os.path.join(site, broken), "wb") as f:
            f.write(b"not a font" * 100)
        with browser.session(site=site, expected_errors=["not a usable TrueType font"]) as (driver, server):
            driver.get(server.url("index.html"))
            wait_for(driver, "kelvorin.state === 'error'", "the page with a broken font to say so")
            shown = driver.execute_script("return document.getElementById('message').innerText;")
            if "The pictures could not be made" not in shown or "could not draw" not in shown:
                fail(f"with a broken font the page shows {shown!r}")
    finally:
        shutil.rmtree(site, ignore_errors=True)

    site, missing = site_without(MUSIC)
    try:
        with browser.session(site=site, expected_errors=[refused(missing)]) as (driver, server):
            driver.get(server.url("index.html"))
            wait_for(driver, "kelvorin.state === 'question'", "the question without the music")
            driver.click("no")
            wait_for(driver, "kelvorin.state === 'playing' && kelvorin.clock > 1000", "the demo to play silently")
            shown = driver.execute_script("return document.getElementById('notice').innerText;")
            if "Data/kelvorin.mp3" not in shown or "404" not in shown or hooks(driver)["music"] is not None:
                fail(f"without the music: {hooks(driver)}, the page says {shown!r}")
    finally:
        shutil.rmtree(site, ignore_errors=True)


if __name__ == "__main__":
    browser.main(test)

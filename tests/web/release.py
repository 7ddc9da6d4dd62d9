#!/usr/bin/python3
"""A new release replaces the kept site in one step: after a first visit has cached release A,
the server gets release B (here, the same files under another release name, as a new VERSION
makes it). The next visit finds B while the question waits, caches it whole, lets it take over
and opens again from it, and only B's cache is left, beside the store of the pictures that this
release's generator makes: a store that another generator filled goes with release A."""
import os
import re
import shutil
import tempfile

import browser
from browser import fail, wait_for


def caches(driver):
    return sorted(driver.execute_async_script("caches.keys().then(arguments[0]);"))


def pictures_store(site):
    """The name of the store that keeps the pictures of the site's generator."""
    with open(os.path.join(site, "sw.js")) as f:
        return re.search(r'"pictures": "([^"]+)"', f.read()).group(1)


def test():
    site = tempfile.mkdtemp(prefix="kelvorin-release-")
    try:
        shutil.copytree(browser.SITE, site, dirs_exist_ok=True)
        with browser.session(site=site) as (driver, server):
            driver.get(server.url("index.html"))
            wait_for(driver, "kelvorin.state === 'question' && kelvorin.offline", "release A to be kept")
            first = [n for n in caches(driver) if n != pictures_store(site)]
            if len(first) != 1:
                fail(f"after the first visit the caches are {first}")
            stale = "kelvorin-pictures-0.0.0-another-generator"
            driver.execute_async_script(f"caches.open('{stale}').then(() => arguments[0]());")

            with open(os.path.join(site, "sw.js")) as f:
                worker = f.read()
            name = re.search(r'"name": "([^"]+)"', worker).group(1)
            with open(os.path.join(site, "sw.js"), "w") as f:
                f.write(worker.replace(f'"name": "{name}"', f'"name": "{name}-b"', 1))

            driver.get(server.url("index.html"))
            if not driver.execute_script("return navigator.serviceWorker.controller !== null;"):
                fail("the second visit is not played from the kept site")
            wait_for(driver, f"kelvorin.state === 'question' && navigator.serviceWorker.controller"
                     f" && performance.getEntriesByType('navigation')[0].type === 'reload'",
                     "the page to open again from release B")
            left = caches(driver)
            if [n for n in left if n != pictures_store(site)] != [f"kelvorin-{name}-b"]:
                fail(f"after release B the caches are {left} (release A was {first})")
            kept = driver.execute_async_script(
                f"caches.open('kelvorin-{name}-b').then((c) => c.keys()).then((r) => arguments[0](r.length));")
            if kept < 10:
                fail(f"release B's cache holds {kept} files")
    finally:
        shutil.rmtree(site, ignore_errors=True)


if __name__ == "__main__":
    browser.main(test)

#!/usr/bin/python3
"""The pictures that the page makes in its workers are the very files that the native art
generator writes into build/Data/, byte for byte, every one of them."""
import glob
import hashlib
import os

import browser
from browser import fail, wait_for


def test():
    native = os.path.join(os.environ["NATIVE"], "Data")
    expected = {}
    for path in glob.glob(os.path.join(native, "*.bmp")):
        with open(path, "rb") as f:
            expected["Data/" + os.path.basename(path)] = hashlib.sha256(f.read()).hexdigest()
    pictures = os.path.basename(glob.glob(os.path.join(browser.SITE, "pictures.*.js"))[0])
    with browser.session() as (driver, server):
        driver.get(server.url("index.html"))
        wait_for(driver, "kelvorin.state === 'question'", "the question")
        made = driver.execute_async_script("""
            const done = arguments[arguments.length - 1], made = {}, digests = [];
            const hex = (b) => [...new Uint8Array(b)].map((x) => x.toString(16).padStart(2, '0')).join('');
            import(arguments[0]).then((m) => m.makePictures((path, bytes) => {
              digests.push(crypto.subtle.digest('SHA-256', bytes).then((d) => { made[path] = hex(d); }));
            })).then(() => Promise.all(digests)).then(() => done(made), (e) => done(String(e)));
            """, f"./{pictures}")
        if not isinstance(made, dict):
            fail(f"the page could not make its pictures: {made}")
        if made != expected:
            differ = sorted(p for p in set(made) | set(expected) if made.get(p) != expected.get(p))
            fail(f"{len(differ)} of {len(expected)} pictures differ from build/Data/: {differ}")
        print(f"{len(made)} pictures, each the same bytes as build/Data/'s")


if __name__ == "__main__":
    browser.main(test)

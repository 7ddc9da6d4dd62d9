#!/usr/bin/python3
"""The page's security policy holds: with the page loaded, an inline script does not run, an
inline style attribute does not apply, a string handed to setTimeout is not compiled, and a
download from another address is refused. Each refusal is a console error, which every browser
test fails on (browser.session), so that the page's own files never break the policy unseen."""
import time

import browser
from browser import fail, wait_for

ATTEMPTS = """
window.refused = [];
document.addEventListener('securitypolicyviolation', (e) => refused.push(e.effectiveDirective));
const script = document.createElement('script');
script.textContent = 'window.inlineRan = true;';
document.head.appendChild(script);
const box = document.createElement('div');
box.setAttribute('style', 'width: 123px');
document.body.appendChild(box);
window.styled = getComputedStyle(box).width === '123px';
try { setTimeout('window.stringRan = true;', 0); } catch (e) {}
window.fetched = 'pending';
fetch(arguments[0]).then(() => { fetched = 'yes'; }, () => { fetched = 'refused'; });
"""


def test():
    with browser.session() as (driver, server):
        driver.get(server.url("index.html"))
        wait_for(driver, "kelvorin.state === 'question'", "the start question")
        if browser.console_errors(driver):
            fail(f"errors in the console as the page loads: {browser.console_errors(driver)}")
        # The same server under another name is another origin.
        driver.execute_script(ATTEMPTS, server.url("index.html").replace("127.0.0.1", "localhost"))
        wait_for(driver, "window.fetched !== 'pending'", "the download from another address")
        # The refusals are reported as events a moment later.
        deadline = time.monotonic() + 5
        while driver.execute_script("return refused.length;") < 4 and time.monotonic() < deadline:
            time.sleep(0.1)
        ran = driver.execute_script("return [!!window.inlineRan, styled, !!window.stringRan, fetched];")
        if ran != [False, False, False, "refused"]:
            fail(f"the policy let through (inline script, style attribute, string code, download): {ran}")
        refused = sorted(driver.execute_script("return refused;"))
        if refused != ["connect-src", "script-src", "script-src-elem", "style-src-attr"]:
            fail(f"the policy refused {refused}")
        errors = browser.console_errors(driver)
        if len(errors) < 4 or not all("Content Security Policy" in e for e in errors):
            fail(f"the console does not show the four refusals alone: {errors}")


if __name__ == "__main__":
    browser.main(test)

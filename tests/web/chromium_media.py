#!/usr/bin/python3
"""The page as a media app. Headless Chromium refuses a real wake lock and has no system media
controls, so the test wraps both APIs before the page loads and watches the page's calls:
the screen's wake lock is taken when the demo plays, let go on pause, taken again on resume,
let go when the tab is hidden, and not taken again until the viewer resumes, and let go when
the demo ends; the media session
names the demo (title, credits, artwork in several sizes), keeps its state and position, and
its handlers seek to a time, to the next chapter and back, and pause and play the demo."""
import time

import browser
from browser import fail, hooks, wait_for
from steps import check_console, hide_and_show, play, press

WRAP = """
window.__wake = [];
const fakeLock = {
  request(type) {
    const sentinel = new EventTarget();
    sentinel.release = () => { window.__wake.push('release'); sentinel.dispatchEvent(new Event('release'));
                               return Promise.resolve(); };
    window.__wake.push('request ' + type);
    return Promise.resolve(sentinel);
  },
};
Object.defineProperty(Navigator.prototype, 'wakeLock', { get: () => fakeLock, configurable: true });
window.__handlers = {};
window.__positions = [];
const session = navigator.mediaSession;
const setHandler = session.setActionHandler.bind(session);
session.setActionHandler = (action, handler) => { window.__handlers[action] = handler; setHandler(action, handler); };
const setPosition = session.setPositionState.bind(session);
session.setPositionState = (state) => { window.__positions.push(state); setPosition(state); };
"""


def wake(driver):
    return driver.execute_script("return window.__wake.slice();")


def session(driver):
    return driver.execute_script(
        "const m = navigator.mediaSession.metadata; return [navigator.mediaSession.playbackState,"
        " m && m.title, m && m.artist, m && m.album, m ? m.artwork.map((a) => a.sizes) : [],"
        " window.__positions.length ? window.__positions[window.__positions.length - 1] : null,"
        " Object.keys(window.__handlers).sort()];")


def act(driver, action, details="{}"):
    driver.execute_script(f"window.__handlers[{action!r}]({details});")


def test():
    with browser.session() as (driver, server):
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WRAP})
        play(driver, server)
        wait_for(driver, "window.__wake.length >= 1", "the wake lock")
        if wake(driver) != ["request screen"]:
            fail(f"playing, the page asked the wake lock for {wake(driver)}")
        wait_for(driver, "navigator.mediaSession.metadata !== null && window.__positions.length > 1", "the media session")
        state, title, artist, album, sizes, position, handlers = session(driver)
        if state != "playing" or title != "KELVORIN" or "DESSEL" not in artist or not album:
            fail(f"the media session says {state} {title!r} {artist!r} {album!r}")
        if not {"192x192", "512x512"} <= set(sizes):
            fail(f"the media session's artwork is {sizes}")
        needed = {"play", "pause", "seekbackward", "seekforward", "seekto", "previoustrack", "nexttrack"}
        if not needed <= set(handlers):
            fail(f"the media session handles {handlers}")
        if position["duration"] != hooks(driver)["duration"] / 1000 or position["playbackRate"] != 1:
            fail(f"the media session's position is {position}")

        press(driver, " ")
        wait_for(driver, "kelvorin.paused", "Space to pause")
        wait_for(driver, "window.__wake.length >= 2", "the wake lock to go")
        if wake(driver)[-1] != "release" or session(driver)[0] != "paused":
            fail(f"paused, the wake lock went {wake(driver)}, the session is {session(driver)[0]}")

        act(driver, "seekto", "{seekTime: 100}")
        wait_for(driver, "kelvorin.clock === 100000", "the session's seek to 100 s")
        if abs(session(driver)[5]["position"] - 100) > 0.05:
            fail(f"after the seek the session's position is {session(driver)[5]}")
        chapters = hooks(driver)["chapters"]
        after = next(c for c in chapters if c["start"] > 100000)
        act(driver, "nexttrack")
        wait_for(driver, f"kelvorin.clock === {after['start']}", "the next chapter")
        act(driver, "previoustrack")
        before = [c for c in chapters if c["start"] < after["start"]][-1]
        wait_for(driver, f"kelvorin.clock === {before['start']}", "the previous chapter")
        act(driver, "seekforward")
        wait_for(driver, f"kelvorin.clock >= {before['start'] + 10000} && kelvorin.clock < {before['start'] + 10017}",
                 "10 s on")

        act(driver, "play")
        wait_for(driver, "!kelvorin.paused && window.__wake[window.__wake.length - 1] === 'request screen'",
                 "the session's play to resume, with the wake lock")
        if session(driver)[0] != "playing":
            fail(f"resumed, the session says {session(driver)[0]}")

        # A hidden tab pauses the demo and lets the lock go; coming back does not take it again.
        hide_and_show(driver)
        wait_for(driver, "document.visibilityState === 'visible' && kelvorin.paused", "the page to show again, paused")
        time.sleep(0.5)
        if wake(driver)[-1] != "release":
            fail(f"hidden, the wake lock went {wake(driver)}")
        act(driver, "pause")  # already paused: nothing changes
        press(driver, " ")
        wait_for(driver, "!kelvorin.paused && window.__wake[window.__wake.length - 1] === 'request screen'",
                 "resuming to take the wake lock again")

        press(driver, "Escape")
        wait_for(driver, "kelvorin.state === 'ended'", "Escape to end the demo")
        time.sleep(0.5)
        if wake(driver)[-1] != "release" or session(driver)[0] != "none":
            fail(f"ended, the wake lock went {wake(driver)}, the session is {session(driver)[0]}")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

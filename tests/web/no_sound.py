#!/usr/bin/python3
"""No sound output: an audio context that does not run after the answer (no sound device, or the
browser's policy: Firefox with no sound server keeps it suspended for good) gets the same "No
sound" notice as a browser without Web Audio, and the demo plays silently; once the context can
run, the next click starts it and the music joins at the demo's clock. The page's context is
held suspended by its own state and resume() until the test lets it go."""
import browser
from browser import fail, hooks, wait_for
from steps import check_console, play

HOLD = """
const real = Object.getOwnPropertyDescriptor(BaseAudioContext.prototype, 'state').get;
const resume = AudioContext.prototype.resume;
window.noDevice = true;
Object.defineProperty(BaseAudioContext.prototype, 'state', {
  get() { return window.noDevice ? 'suspended' : real.call(this); }, configurable: true });
AudioContext.prototype.resume = function () {
  return window.noDevice ? Promise.resolve() : resume.call(this);
};
"""


def test():
    with browser.session() as (driver, server):
        play(driver, server, before_answer=HOLD)
        wait_for(driver, "kelvorin.message.startsWith('No sound:')", "the page to say there is no sound", seconds=15)
        start = hooks(driver)["clock"]
        wait_for(driver, f"kelvorin.clock > {start + 1000}", "the demo to play on silently", seconds=15)
        state = hooks(driver)
        if state["music"] is not None or state["audio"] != "suspended" or document_notice(driver) != state["message"]:
            fail(f"without sound the page shows {document_notice(driver)!r}: {state}")

        driver.execute_script("window.noDevice = false;")
        driver.click("canvas")  # a click pauses; the next resumes
        driver.click("canvas")
        wait_for(driver, "kelvorin.audio === 'running' && kelvorin.music !== null"
                 " && Math.abs(kelvorin.music * 1000 - kelvorin.clock) < 500",
                 "the music to join once the sound can start", seconds=20)
        check_console(driver)


def document_notice(driver):
    return driver.execute_script("return document.getElementById('notice').textContent;")


if __name__ == "__main__":
    browser.main(test)

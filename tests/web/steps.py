"""Steps that the player's browser tests share (not a test itself): starting the demo as a
viewer would, pressing keys, waiting for the player."""
import contextlib
import os
import tempfile

import browser
from browser import fail, hooks, wait_for


def play(driver, server, query="", before_answer=None):
    """Opens the page, answers No (in the page) and waits for the demo to play; before_answer is
    a script run in the page while it asks the question."""
    driver.get(server.url(f"index.html{query}"))
    wait_for(driver, "kelvorin.state === 'question'", "the start question")
    if before_answer:
        driver.execute_script(before_answer)
    driver.click("no")
    wait_for(driver, "kelvorin.state === 'playing' && kelvorin.fps > 0", "the demo to play")


def press(driver, *keys):
    """Presses each key (a KeyboardEvent.key: "Enter", "Escape", "ArrowLeft", " ", "k"...)."""
    for key in keys:
        driver.press(key)


def hide_and_show(driver):
    """Hides the page behind a new tab for a second, then shows it again."""
    driver.hide_and_show()


def seek(driver, ms):
    """kelvorin.seek(ms); returns the clock of the frame it shows."""
    return driver.execute_async_script("kelvorin.seek(arguments[0]).then(arguments[1]);", ms)


def pause(driver):
    """Pauses with Space and returns the paused clock."""
    press(driver, " ")
    wait_for(driver, "kelvorin.paused", "Space to pause", seconds=10)
    return hooks(driver)["clock"]


def controls_gone(driver):
    """Waits until the control bar has gone and faded out, so that it covers nothing."""
    wait_for(driver, "!document.getElementById('controls').classList.contains('shown')"
             " && getComputedStyle(document.getElementById('controls')).opacity === '0'",
             "the controls to fade out", seconds=6)


def snapshots_ready(driver):
    """Waits until the snapshots that seeking starts from reach the seek bar's end."""
    wait_for(driver, "kelvorin.snapshotsTo >= kelvorin.duration", "the snapshots to reach the end")


def query_t(driver):
    """The t of the page's address, or None."""
    return driver.execute_script("return new URLSearchParams(location.search).get('t');")


def check_console(driver):
    errors = browser.console_errors(driver)
    if errors:
        fail(f"errors in the console: {errors}")


@contextlib.contextmanager
def held_back(pattern, server_args=()):
    """A session whose server holds back the files whose paths match pattern while a flag file
    is there (serve.py --hold); yields (driver, server, flag), the flag there from the start:
    os.remove(flag) lets them go, open(flag, "w").close() holds them again."""
    flag = tempfile.NamedTemporaryFile(prefix="kelvorin-hold-", delete=False).name
    try:
        with browser.session(server_args=[*server_args, "--hold", pattern, flag]) as session:
            yield (*session, flag)
    finally:
        if os.path.exists(flag):
            os.remove(flag)

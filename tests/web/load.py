#!/usr/bin/python3
"""The start question comes first and everything heavy loads behind it: with the server holding
back the picture generator, its fonts and the music, the question shows, the viewer answers,
and the page shows what it still waits for in the picture's place; once the files arrive the
demo plays, with its music."""
import os

import browser
from browser import fail, hooks, wait_for
from steps import check_console, held_back


def test():
    with held_back(r"/(art\.|fonts/|Data/kelvorin\.)") as (driver, server, flag):
        driver.get(server.url("index.html"))
        wait_for(driver, "kelvorin.state === 'question'", "the question while the files are held")
        shown = driver.execute_script("return !document.getElementById('question').hidden;")
        if not shown:
            fail("the state is 'question' but the question is hidden")

        driver.click("no")
        wait_for(driver, "kelvorin.state === 'starting'", "the answer")
        waiting = driver.execute_script(
            "const l = document.getElementById('loading');"
            "return [!l.hidden, document.getElementById('loading-what').textContent,"
            " document.getElementById('progress').value];")
        if not waiting[0] or "pictures" not in waiting[1] or "music" not in waiting[1]:
            fail(f"answered early, the page shows {waiting}")
        if hooks(driver)["firstFrameAt"] is not None:
            fail(f"the demo started without its pictures: {hooks(driver)}")

        os.remove(flag)
        wait_for(driver, "kelvorin.state === 'playing' && kelvorin.clock > 1000", "the demo to play")
        wait_for(driver, "kelvorin.music !== null", "the music to play")
        if not driver.execute_script("return document.getElementById('loading').hidden;"):
            fail("the progress stayed over the playing demo")
        check_console(driver)


if __name__ == "__main__":
    browser.main(test)

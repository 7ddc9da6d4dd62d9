#!/usr/bin/python3
"""Byte ranges of the music, as media loaders ask for them (Safari's first asks for bytes 0-1
and plays only after a 206 with the file's exact length): the web server and the service worker
answer each with 206, an exact Content-Range and exactly the bytes asked for, and a range
beyond the end with 416. The server is asked directly; the worker through the page that it
controls on a second visit, with the server stopped."""
import glob
import hashlib
import os
import signal
import urllib.error
import urllib.request

import browser
from browser import fail, wait_for


def asked(size):
    """(Range header, the answer expected: status, Content-Range, first byte, last byte)."""
    return [("bytes=0-1", 206, f"bytes 0-1/{size}", 0, 1),
            ("bytes=0-", 206, f"bytes 0-{size - 1}/{size}", 0, size - 1),
            ("bytes=1000-1999", 206, f"bytes 1000-1999/{size}", 1000, 1999),
            (f"bytes=100-{size + 50}", 206, f"bytes 100-{size - 1}/{size}", 100, size - 1),
            ("bytes=-500", 206, f"bytes {size - 500}-{size - 1}/{size}", size - 500, size - 1),
            (f"bytes={size // 2}-", 206, f"bytes {size // 2}-{size - 1}/{size}", size // 2, size - 1),
            (f"bytes={size}-", 416, f"bytes */{size}", None, None)]


def check(who, data, answers):
    """answers: (status, Content-Range, body's SHA-256) for each of asked(len(data))."""
    for (header, status, content_range, first, last), got in zip(asked(len(data)), answers):
        body = hashlib.sha256(data[first:last + 1]).hexdigest() if first is not None else None
        if got[0] != status or got[1] != content_range or (body and got[2] != body):
            fail(f"{who} answers {header} with {got[0]} {got[1]}; "
                 f"expected {status} {content_range}{' and its bytes' if body else ''}")


def from_server(url, header):
    request = urllib.request.Request(url, headers={"Range": header})
    try:
        with urllib.request.urlopen(request, timeout=30) as r:
            return r.status, r.headers.get("Content-Range"), hashlib.sha256(r.read()).hexdigest()
    except urllib.error.HTTPError as e:
        return e.code, e.headers.get("Content-Range"), None


FROM_PAGE = """
const [url, headers, done] = arguments;
Promise.all(headers.map((range) => fetch(url, {headers: {Range: range}}).then(async (r) => {
  const hash = await crypto.subtle.digest('SHA-256', await r.arrayBuffer());
  const hex = Array.from(new Uint8Array(hash), (b) => b.toString(16).padStart(2, '0')).join('');
  return [r.status, r.headers.get('Content-Range'), r.status === 206 ? hex : null];
}))).then(done, (e) => done(String(e)));
"""


def test():
    music = glob.glob(os.path.join(browser.SITE, "**", "*.mp3"), recursive=True)
    if len(music) != 1:
        fail(f"the site's music: {music}")
    name = os.path.relpath(music[0], browser.SITE)
    with open(music[0], "rb") as f:
        data = f.read()
    headers = [a[0] for a in asked(len(data))]
    with browser.session(expected_errors=["416"]) as (driver, server):
        check("the server", data, [from_server(server.url(name), h) for h in headers])

        driver.get(server.url("index.html"))
        wait_for(driver, "kelvorin.offline", "the service worker to keep the site")
        driver.get(server.url("index.html"))
        wait_for(driver, "navigator.serviceWorker.controller", "the service worker to control the page")
        os.killpg(server.process.pid, signal.SIGKILL)
        server.process.wait()
        answers = driver.execute_async_script(FROM_PAGE, name, headers)
        if isinstance(answers, str):
            fail(f"the page's requests failed: {answers}")
        check("the service worker", data, answers)


if __name__ == "__main__":
    browser.main(test)

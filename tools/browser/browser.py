"""The browser edition's site served on a free port of its own, and a headless Chromium of its
own (WebGL 2 through SwiftShader, sound without a gesture, a fresh profile, nothing fetched
from the network), driven through chromedriver: for the browser tests (tests/web/) and the
benchmark (tools/bench/web.py), which find it on PYTHONPATH.

Every test or measurement runs inside `session()`: it is stopped after WEB_LIMIT seconds
(saying what it was waiting for), and whatever it started ends with it: the server's and
chromedriver's whole process groups (Chromium's processes are in the latter) are killed and
checked gone. A session whose steps passed fails when the console shows an error it did not
expect: a script's exception, a failed download, anything the page's security policy refused.
"""
import contextlib
import functools
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

SITE = os.environ.get("SITE", "build-web")
LIMIT = int(os.environ.get("WEB_LIMIT", "240"))
CHROMIUM = "/usr/lib/chromium/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"

_waiting = ["the test's first step"]


def waiting(what):
    """Notes what the test waits for now, for the time-limit message."""
    _waiting[0] = what


class Failure(Exception):
    pass


def fail(message):
    raise Failure(message)


def _on_limit(signum, frame):
    raise Failure(f"no result within {LIMIT} s; waiting for {_waiting[0]}")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _living(group):
    """The processes of a process group that have not ended (zombies aside)."""
    out = subprocess.run(["ps", "-A", "-o", "pid=,pgid=,stat="], capture_output=True, text=True).stdout
    return [f[0] for f in (line.split() for line in out.splitlines())
            if len(f) == 3 and f[1] == str(group) and not f[2].startswith("Z")]


def _end_group(group):
    with contextlib.suppress(ProcessLookupError):
        os.killpg(group, signal.SIGKILL)
    for _ in range(50):
        if not _living(group):
            return []
        time.sleep(0.1)
    return _living(group)


class Server:
    """serve.py (http.server with byte ranges) over the site, in a process group of its own, on a
    free port."""

    def __init__(self, site, args=()):
        self.port = free_port()
        self.process = subprocess.Popen(
            [sys.executable, os.path.join(os.path.dirname(os.path.abspath(__file__)), "serve.py"),
             site, str(self.port), *args],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        waiting(f"the web server on port {self.port}")
        while True:
            with contextlib.suppress(OSError), socket.create_connection(("127.0.0.1", self.port), 1):
                break
            if self.process.poll() is not None:
                fail(f"the web server on port {self.port} did not start")
            time.sleep(0.1)

    def url(self, path=""):
        return f"http://127.0.0.1:{self.port}/{path}"


def chromium_options(profile, extra=(), performance_log=False):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in [
        "--headless", "--no-sandbox", f"--user-data-dir={profile}",
        "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
        "--autoplay-policy=no-user-gesture-required",
        "--no-first-run", "--no-default-browser-check", "--disable-background-networking",
        "--disable-component-update", "--disable-sync", "--disable-quic",
        "--disable-domain-reliability", "--disable-breakpad", "--disable-dev-shm-usage",
        "--window-size=1024,768", "--force-device-scale-factor=1", *extra,
    ]:
        options.add_argument(arg)
    logs = {"browser": "ALL"}
    if performance_log:  # the network's events, for the benchmark's bytes
        logs["performance"] = "ALL"
    options.set_capability("goog:loggingPrefs", logs)
    return options


@contextlib.contextmanager
def session(chromium_args=(), site=None, also_end=(), expected_errors=(), server_args=(),
            performance_log=False):
    """Yields (driver, server); ends both, and the process groups in also_end, whatever
    happens, and checks that nothing of them is left. After the test's steps, every console
    error not yet read must contain one of expected_errors. server_args go to serve.py (its
    --hold and --break)."""
    signal.signal(signal.SIGALRM, _on_limit)
    signal.alarm(LIMIT)
    groups = list(also_end)
    profile = tempfile.mkdtemp(prefix="kelvorin-web-")
    driver = None
    try:
        server = Server(site or SITE, server_args)
        groups.append(server.process.pid)
        waiting("Chromium to start")
        service = Service(CHROMEDRIVER, popen_kw={"start_new_session": True})
        try:
            driver = webdriver.Chrome(service=service, options=chromium_options(
                profile, chromium_args, performance_log))
        finally:
            if service.process:
                groups.append(service.process.pid)
        driver.set_script_timeout(LIMIT)
        yield driver, server
        unexpected = [e for e in console_errors(driver) if not any(x in e for x in expected_errors)]
        if unexpected:
            fail(f"errors in the console: {unexpected}")
    finally:
        signal.alarm(0)
        if driver:
            with contextlib.suppress(Exception):
                driver.quit()
        left = []
        for group in groups:
            left += _end_group(group)
        shutil.rmtree(profile, ignore_errors=True)
        if left:
            print(f"FAIL: processes outlived the test: {' '.join(left)}", file=sys.stderr)
            sys.exit(1)


def main(test):
    """Runs one test function; exit code 0 when it passes."""
    @functools.wraps(test)
    def run():
        try:
            test()
        except Failure as e:
            print(f"FAIL: {e}", file=sys.stderr)
            sys.exit(1)
        print("PASS")
    run()


def wait_for(driver, script, what, seconds=None):
    """Polls a JavaScript expression until it is truthy; returns its value."""
    waiting(what)
    deadline = time.monotonic() + (seconds or LIMIT)
    while time.monotonic() < deadline:
        value = driver.execute_script(f"return {script};")
        if value:
            return value
        time.sleep(0.1)
    fail(f"gave up after {seconds} s waiting for {what}")


def page_size(driver, width, height):
    """Sizes the window so that the page itself is width x height."""
    outer = driver.get_window_size()
    inner = driver.execute_script("return [innerWidth, innerHeight];")
    driver.set_window_size(width + outer["width"] - inner[0], height + outer["height"] - inner[1])


def hooks(driver):
    return driver.execute_script("return Object.assign({}, window.kelvorin);")


def console_errors(driver):
    """The console's errors since the last call (reading them empties the log)."""
    return [entry["message"] for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]

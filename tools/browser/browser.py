"""The browser edition's site served on a free port of its own, and a browser of its own
(engines.py: Chromium, Firefox or WebKitGTK, as ENGINE says, Chromium by default; a fresh
profile, sound without a gesture, nothing fetched from the network): for the browser tests
(tests/web/) and the benchmark (tools/bench/web.py), which find it on PYTHONPATH.

Every test or measurement runs inside `session()`: it is stopped after WEB_LIMIT seconds
(saying what it was waiting for), and whatever it started ends with it: the server's, the
browser's and its driver's, its X server's and its sound server's whole process groups are
killed and checked gone. A session whose steps passed fails when the console shows an error it
did not expect: a script's exception, a failed download, anything the page's security policy
refused.
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

import engines
from engines import free_port  # noqa: F401  for the tests

SITE = os.environ.get("SITE", "build-web")
LIMIT = int(os.environ.get("WEB_LIMIT", "240"))
ENGINE = os.environ.get("ENGINE", "chromium")
SKIPPED = 77  # the exit code of a test skipped in this engine (ctest's SKIP_RETURN_CODE)
CHROMIUM = engines.CHROMIUM

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


@contextlib.contextmanager
def session(chromium_args=(), site=None, also_end=(), expected_errors=(), server_args=(),
            performance_log=False, webgl=True, sound=True):
    """Yields (page, server), the page in ENGINE (engines.py); ends both, and the process groups
    in also_end, whatever happens, and checks that nothing of them is left. After the test's
    steps, every console error not yet read must contain one of expected_errors. server_args go
    to serve.py (its --hold, --break and --throttle). webgl=False: a browser without WebGL;
    sound=False: one without a sound device. chromium_args and performance_log are Chromium's."""
    signal.signal(signal.SIGALRM, _on_limit)
    signal.alarm(LIMIT)
    groups = list(also_end)
    folder = tempfile.mkdtemp(prefix=f"kelvorin-{ENGINE}-")
    page = None
    try:
        server = Server(site or SITE, server_args)
        groups.append(server.process.pid)
        waiting(f"{ENGINE} to start")
        page = engines.open_page(ENGINE, groups, folder, chromium_args, performance_log, webgl, sound)
        if ENGINE != "firefox":
            page.set_script_timeout(LIMIT)
        yield page, server
        unexpected = [e for e in console_errors(page) if not any(x in e for x in expected_errors)]
        if unexpected:
            fail(f"errors in the console: {unexpected}")
    finally:
        signal.alarm(0)
        if page:
            with contextlib.suppress(Exception):
                page.quit()
        left = []
        for group in groups:
            left += _end_group(group)
        shutil.rmtree(folder, ignore_errors=True)
        if left:
            print(f"FAIL: processes outlived the test: {' '.join(left)}", file=sys.stderr)
            sys.exit(1)


def main(test):
    """Runs one test function; exit code 0 when it passes. A test that engines.EXPECTED_FAILURES
    lists for ENGINE passes when it fails, and fails when it passes, so that the mark goes once
    the page is fixed."""
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    expected = engines.EXPECTED_FAILURES.get((ENGINE, name))

    @functools.wraps(test)
    def run():
        try:
            test()
        except engines.Skip as e:
            print(f"SKIPPED in {ENGINE}: {e}")
            sys.exit(SKIPPED)
        except (Failure, engines.EngineError) as e:
            if expected:
                print(f"EXPECTED FAILURE in {ENGINE} ({expected}): {e}")
                return
            print(f"FAIL: {e}", file=sys.stderr)
            sys.exit(1)
        if expected:
            print(f"FAIL: passes in {ENGINE}, yet engines.EXPECTED_FAILURES says: {expected}", file=sys.stderr)
            sys.exit(1)
        print("PASS")
    run()


def wait_for(driver, script, what, seconds=None):
    """Polls a JavaScript expression until it is truthy; returns its value. Until the page has
    defined what it names (WebKit may answer before the page's modules ran), it is not yet."""
    waiting(what)
    deadline = time.monotonic() + (seconds or LIMIT)
    while time.monotonic() < deadline:
        value = driver.execute_script(
            f"try {{ return {script}; }} catch (e) {{ if (e instanceof ReferenceError) return false; throw e; }}")
        if value:
            return value
        time.sleep(0.1)
    fail(f"gave up after {seconds} s waiting for {what}")


def page_size(driver, width, height):
    """Sizes the window so that the page itself is width x height."""
    driver.page_size(width, height)


def hooks(driver):
    return driver.execute_script("return Object.assign({}, window.kelvorin);")


def console_errors(driver):
    """The console's errors since the last call (reading them empties the log)."""
    return driver.console_errors()

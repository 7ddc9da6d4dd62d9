"""The three browser engines that the browser tests run in, behind one small interface, so that
a test of the page is written once:
  chromium  Debian's Chromium, headless (WebGL 2 through SwiftShader), through chromedriver
  firefox   Debian's Firefox ESR on an Xvfb of its own, through WebDriver BiDi (firefox.mjs,
            puppeteer-core from build/npm)
  webkit    WebKitGTK's MiniBrowser on an Xvfb of its own, through WebKitWebDriver
Neither Firefox nor WebKitGTK draws WebGL without a display; both play their sound into a
PulseAudio daemon of their own, whose one sink is silent, or, without sound, find no sound
server at all. Headless Chromium plays into a sink of its own that nothing hears.

open_page() starts one and returns a Page: get, execute_script, execute_async_script (a
WebDriver script: a function body, its callback the last argument), current_url,
get_screenshot_as_png (the viewport), click(id), press(key: a KeyboardEvent.key such as
"Enter", "Escape", "F1", "ArrowLeft", " ", "k"), move_to(id, dx, dy) and drag(id, from_dx,
to_dx) for the pointer (offsets from the element's centre), page_size(width, height),
hide_and_show(), prefer_motion(motion) (False where the engine cannot), console_errors() and
quit(). A Chromium page is also its selenium driver, for
the tests of what only Chromium can do (CDP). Every process it starts is in a process group
that it appends to `groups`, for browser.session to end."""
import base64
import contextlib
import json
import os
import socket
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

ENGINES = ("chromium", "firefox", "webkit")
CHROMIUM = "/usr/lib/chromium/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
FIREFOX = "/usr/lib/firefox-esr/firefox-esr"
WEBKITWEBDRIVER = "/usr/bin/WebKitWebDriver"
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
NPM = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "build", "npm")
WIDTH, HEIGHT = 1024, 768  # the window
SCREEN = "1280x1024x24"    # the Xvfb's

# What selenium sends for the keys that are not characters.
SELENIUM_KEYS = {"Enter": Keys.RETURN, "Escape": Keys.ESCAPE, "F1": Keys.F1, "ArrowLeft": Keys.ARROW_LEFT,
                 "ArrowRight": Keys.ARROW_RIGHT, "ArrowUp": Keys.ARROW_UP, "ArrowDown": Keys.ARROW_DOWN,
                 "Home": Keys.HOME, "End": Keys.END, "PageUp": Keys.PAGE_UP, "PageDown": Keys.PAGE_DOWN}

# Tests that fail in an engine because of a fault of the page's, not of the test's, each with its
# reason, until the page is fixed: browser.main passes them when they fail and fails them when
# they pass. (engine, the test's file name without .py)
EXPECTED_FAILURES = {}


class EngineError(Exception):
    pass


class Skip(Exception):
    """A step that this engine's driver cannot take here; browser.main says why and the test is
    counted as skipped."""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _spawn(groups, command, **kwargs):
    process = subprocess.Popen(command, start_new_session=True, **kwargs)
    groups.append(process.pid)
    return process


def _xvfb(groups):
    """An Xvfb of its own on a free display; its DISPLAY."""
    read, write = os.pipe()
    process = _spawn(groups, ["Xvfb", "-displayfd", str(write), "-screen", "0", SCREEN, "-nolisten", "tcp",
                              "-noreset"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        number = pipe.readline().strip()
    if not number:
        raise EngineError(f"Xvfb did not start (exit {process.poll()})")
    return f":{number}"


def _pulseaudio(groups, folder):
    """A PulseAudio daemon of its own whose default sink is a silent one; its PULSE_SERVER."""
    os.makedirs(folder)
    address = os.path.join(folder, "native")
    config = os.path.join(folder, "default.pa")
    with open(config, "w") as f:
        f.write("load-module module-null-sink sink_name=silent\nset-default-sink silent\n"
                f"load-module module-native-protocol-unix auth-anonymous=1 socket={address}\n")
    env = {**os.environ, "HOME": folder, "PULSE_RUNTIME_PATH": os.path.join(folder, "run"),
           "PULSE_STATE_PATH": os.path.join(folder, "state")}
    process = _spawn(groups, ["pulseaudio", "-n", "-F", config, "--daemonize=no", "--exit-idle-time=-1",
                              "--disable-shm=yes", "--log-target=stderr"],
                     env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(address):
            return f"unix:{address}"
        if process.poll() is not None:
            break
        time.sleep(0.05)
    raise EngineError("PulseAudio did not start")


def _display_env(groups, folder, sound):
    """The environment of a browser on its own display, with its own sound server or none."""
    env = {**os.environ, "DISPLAY": _xvfb(groups), "NO_AT_BRIDGE": "1", "GTK_A11Y": "none"}
    env.pop("WAYLAND_DISPLAY", None)
    if sound:
        env["PULSE_SERVER"] = _pulseaudio(groups, os.path.join(folder, "pulse"))
    else:
        env["PULSE_SERVER"] = f"unix:{os.path.join(folder, 'no-sound-server')}"
        env["ALSA_CONFIG_PATH"] = os.path.join(folder, "no-alsa-devices")
        open(env["ALSA_CONFIG_PATH"], "w").close()
    return env


def _focus(env, window_class):
    """Clicks into the browser's blank page, as a viewer would: on an X server without a window
    manager nothing else gives its window the focus, without which Firefox refuses fullscreen."""
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", window_class],
                           env=env, capture_output=True, text=True, timeout=30).stdout.split()
    if not found:
        raise EngineError(f"no {window_class} window on {env['DISPLAY']}")
    subprocess.run(["xdotool", "mousemove", "--window", found[0], str(WIDTH // 2), str(HEIGHT - 40), "click", "1"],
                   env=env, check=True, timeout=30)


class SeleniumPage:
    """Chromium or WebKitGTK through selenium; anything else is the selenium driver's."""

    def __init__(self, driver, console, engine):
        self.driver = driver
        self._console = console
        self.engine = engine

    def __getattr__(self, name):
        return getattr(self.driver, name)

    def click(self, element_id):
        self.driver.find_element("id", element_id).click()

    def press(self, key):
        ActionChains(self.driver).send_keys(SELENIUM_KEYS.get(key, key)).perform()

    def move_to(self, element_id, dx=0, dy=0):
        element = self.driver.find_element("id", element_id)
        ActionChains(self.driver).move_to_element_with_offset(element, round(dx), round(dy)).perform()

    def drag(self, element_id, from_dx, to_dx):
        element = self.driver.find_element("id", element_id)
        (ActionChains(self.driver).move_to_element_with_offset(element, round(from_dx), 0).click_and_hold()
         .move_to_element_with_offset(element, round(to_dx), 0).release().perform())

    def page_size(self, width, height):
        outer = self.driver.get_window_size()
        inner = self.driver.execute_script("return [innerWidth, innerHeight];")
        self.driver.set_window_size(width + outer["width"] - inner[0], height + outer["height"] - inner[1])

    def hide_and_show(self):
        if self.engine == "webkit":
            raise Skip("WebKitWebDriver opens the new tab as a window of its own beside the page, which"
                       " stays visible")
        page = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        time.sleep(1)
        self.driver.switch_to.window(page)

    def console_errors(self):
        return self._console()

    def prefer_motion(self, motion):
        """Makes the page's prefers-reduced-motion this ("reduce" or "no-preference"); False
        where the engine cannot (WebKitWebDriver has no way to)."""
        if not hasattr(self.driver, "execute_cdp_cmd"):
            return False
        self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                                    {"features": [{"name": "prefers-reduced-motion", "value": motion}]})
        return True


def _chromium(groups, folder, extra, performance_log, webgl, sound):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    args = ["--headless", "--no-sandbox", f"--user-data-dir={os.path.join(folder, 'profile')}",
            "--autoplay-policy=no-user-gesture-required", "--no-first-run", "--no-default-browser-check",
            "--disable-background-networking", "--disable-component-update", "--disable-sync", "--disable-quic",
            "--disable-domain-reliability", "--disable-breakpad", "--disable-dev-shm-usage",
            f"--window-size={WIDTH},{HEIGHT}", "--force-device-scale-factor=1"]
    # Without a GPU and without SwiftShader, neither the page nor a worker has WebGL.
    args += (["--use-angle=swiftshader", "--enable-unsafe-swiftshader"] if webgl
             else ["--disable-gpu", "--disable-software-rasterizer"])
    if not sound:
        # No output device: the audio context cannot start.
        args += ["--disable-audio-output"]
    for arg in args + list(extra):
        options.add_argument(arg)
    logs = {"browser": "ALL"}
    if performance_log:  # the network's events, for the benchmark's bytes
        logs["performance"] = "ALL"
    options.set_capability("goog:loggingPrefs", logs)
    service = Service(CHROMEDRIVER, popen_kw={"start_new_session": True})
    try:
        driver = webdriver.Chrome(service=service, options=options)
    finally:
        if service.process:
            groups.append(service.process.pid)
    return SeleniumPage(driver, lambda: [e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"],
                        "chromium")


def _webkit(groups, folder, webgl, sound):
    env = _display_env(groups, folder, sound)
    port = free_port()
    # The browser's standard output, where it writes the console's messages.
    log_path = os.path.join(folder, "webkit.log")
    with open(log_path, "wb") as log:
        _spawn(groups, [WEBKITWEBDRIVER, f"--port={port}"], env=env, stdout=log, stderr=subprocess.STDOUT)
    options = webdriver.WebKitGTKOptions()
    options.binary_location = MINIBROWSER
    for arg in ["--automation", "--enable-write-console-messages-to-stdout=true", "--autoplay-policy=allow",
                f"--enable-webgl={'true' if webgl else 'false'}"]:
        options.add_argument(arg)
    capabilities = options.to_capabilities()
    for legacy in ("version", "platform", "browserName"):  # WebKitWebDriver matches none of these
        capabilities.pop(legacy, None)
    deadline = time.monotonic() + 30
    while True:
        try:
            driver = webdriver.Remote(command_executor=f"http://127.0.0.1:{port}", desired_capabilities=capabilities)
            break
        except Exception:  # noqa: BLE001  the driver is not listening yet
            if time.monotonic() > deadline:
                raise
            time.sleep(0.2)
    driver.set_window_size(WIDTH, HEIGHT)
    read = [0]

    def console():
        # Lines such as "CONSOLE JS ERROR ..." (one for each message, the kind after CONSOLE).
        with open(log_path, "rb") as f:
            f.seek(read[0])
            text = f.read()
            read[0] += len(text)
        return [line[len("CONSOLE "):] for line in text.decode(errors="replace").splitlines()
                if line.startswith("CONSOLE ") and " ERROR " in line[:40]]
    return SeleniumPage(driver, console, "webkit")


class FirefoxPage:
    """Firefox through its bridge, firefox.mjs."""

    def __init__(self, groups, folder, webgl, sound):
        env = _display_env(groups, folder, sound)
        prefs = {
            # Sound without a gesture, as Chromium's autoplay flag; fullscreen without its
            # transition and warning.
            "media.autoplay.default": 0, "media.autoplay.blocking_policy": 0, "media.autoplay.block-webaudio": False,
            "full-screen-api.transition-duration.enter": "0 0", "full-screen-api.transition-duration.leave": "0 0",
            "full-screen-api.warning.timeout": 0, "webgl.disabled": not webgl, "webgl.out-of-process": False,
        }
        settings = {"executable": FIREFOX, "profile": os.path.join(folder, "profile"), "width": WIDTH,
                    "height": HEIGHT, "prefs": prefs}
        os.makedirs(settings["profile"])
        self.process = _spawn(groups, ["node", os.path.join(os.path.dirname(os.path.abspath(__file__)), "firefox.mjs"),
                                       os.path.abspath(NPM), json.dumps(settings)],
                              env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        first = self._read()
        if "pid" not in first:
            raise EngineError(f"Firefox did not start: {first}")
        # Puppeteer starts Firefox in a process group of its own.
        groups.append(first["pid"])
        _focus(env, "firefox")

    def _read(self):
        line = self.process.stdout.readline()
        if not line:
            raise EngineError("the Firefox bridge ended")
        return json.loads(line)

    def _do(self, op, **args):
        self.process.stdin.write(json.dumps({"op": op, **args}) + "\n")
        self.process.stdin.flush()
        answer = self._read()
        if "error" in answer:
            raise EngineError(f"Firefox: {op}: {answer['error']}")
        return answer["value"]

    def get(self, url):
        self._do("goto", url=url)

    def execute_script(self, script, *args):
        return self._do("script", script=script, args=list(args))

    def execute_async_script(self, script, *args):
        return self._do("asyncScript", script=script, args=list(args))

    @property
    def current_url(self):
        return self.execute_script("return location.href;")

    def get_screenshot_as_png(self):
        return base64.b64decode(self._do("screenshot"))

    def click(self, element_id):
        self._do("click", id=element_id)

    def press(self, key):
        self._do("press", key=key)

    def move_to(self, element_id, dx=0, dy=0):
        self._do("move", id=element_id, dx=dx, dy=dy)

    def drag(self, element_id, from_dx, to_dx):
        self._do("drag", id=element_id, **{"from": from_dx, "to": to_dx})

    def page_size(self, width, height):
        self._do("viewport", width=width, height=height)

    def hide_and_show(self):
        self._do("hideAndShow")

    def console_errors(self):
        return self._do("errors")

    def prefer_motion(self, motion):
        # puppeteer emulates media features through CDP alone, which Firefox's BiDi lacks
        return False

    def quit(self):
        # No goodbye: browser.session ends the processes, and a hung Firefox would not answer.
        with contextlib.suppress(Exception):
            self.process.stdin.close()


def open_page(engine, groups, folder, chromium_args=(), performance_log=False, webgl=True, sound=True):
    """Starts the engine with a fresh profile in folder; its Page."""
    if engine == "chromium":
        return _chromium(groups, folder, chromium_args, performance_log, webgl, sound)
    if chromium_args or performance_log:
        raise EngineError(f"Chromium's own options asked of {engine}")
    if engine == "firefox":
        return FirefoxPage(groups, folder, webgl, sound)
    if engine == "webkit":
        return _webkit(groups, folder, webgl, sound)
    raise EngineError(f"no engine {engine!r} (one of {', '.join(ENGINES)})")

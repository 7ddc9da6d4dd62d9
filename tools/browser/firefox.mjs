// Firefox for the browser tests, driven through WebDriver BiDi by puppeteer-core (build/npm,
// installed by script/setup; it downloads no browser): engines.py starts this bridge and sends it
// one JSON command a line on stdin; each answer is one JSON line on stdout, {value} or {error}.
// The first line says Firefox's process id, whose process group engines.py ends.
//   node firefox.mjs NPM_FOLDER '{"executable", "profile", "width", "height", "prefs"}'
import { createRequire } from 'node:module';
import { createInterface } from 'node:readline';

const [npm, settings] = process.argv.slice(2);
const { executable, profile, width, height, prefs } = JSON.parse(settings);
const puppeteer = createRequire(`${npm}/`)('puppeteer-core');

const say = (answer) => process.stdout.write(`${JSON.stringify(answer)}\n`);

const browser = await puppeteer.launch({
  browser: 'firefox', executablePath: executable, headless: false, userDataDir: profile,
  args: [`--width=${width}`, `--height=${height}`], defaultViewport: null, extraPrefsFirefox: prefs,
  handleSIGINT: false, handleSIGTERM: false, handleSIGHUP: false, protocolTimeout: 600000,
});
say({ pid: browser.process().pid });
const [page] = await browser.pages();
let errors = [];
page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
page.on('pageerror', (error) => errors.push(`${error.name || 'Error'}: ${error.message}`));

// A script as WebDriver runs it: a function body with its arguments; an asynchronous one gets a
// callback as its last argument and answers with what it is called with.
const call = (script, args, callback) => `(function () { ${script}\n}).apply(window, `
  + `${JSON.stringify(args)}${callback ? `.concat([${callback}])` : ''})`;
const center = (id) => page.evaluate(call(
  'const r = document.getElementById(arguments[0]).getBoundingClientRect();'
  + 'return [r.left + r.width / 2, r.top + r.height / 2, r.width];', [id]));

const commands = {
  goto: ({ url }) => page.goto(url, { waitUntil: 'load', timeout: 0 }).then(() => null),
  script: ({ script, args }) => page.evaluate(call(script, args)),
  asyncScript: ({ script, args }) => page.evaluate(`new Promise((done) => { ${call(script, args, 'done')}; })`),
  click: ({ id }) => page.click(`#${id}`),
  press: ({ key }) => page.keyboard.press(key),
  move: async ({ id, dx, dy }) => {
    const [x, y] = await center(id);
    await page.mouse.move(x + dx, y + dy);
  },
  drag: async ({ id, from, to }) => {
    const [x, y] = await center(id);
    await page.mouse.move(x + from, y);
    await page.mouse.down();
    await page.mouse.move(x + to, y, { steps: 5 });
    await page.mouse.up();
  },
  screenshot: () => page.screenshot({ encoding: 'base64' }),
  viewport: ({ width: w, height: h }) => page.setViewport({ width: w, height: h }),
  // Another tab in front for a second, which hides the page, then the page again.
  hideAndShow: async () => {
    const other = await browser.newPage();
    await new Promise((resolve) => { setTimeout(resolve, 1000); });
    await page.bringToFront();
    await other.close();
  },
  errors: () => {
    const read = errors;
    errors = [];
    return read;
  },
};

for await (const line of createInterface({ input: process.stdin })) {
  const { op, ...args } = JSON.parse(line);
  try {
    const value = await commands[op](args);
    say({ value: value === undefined ? null : value });
  } catch (e) {
    say({ error: String(e && e.message ? e.message : e) });
  }
}
process.exit(0);

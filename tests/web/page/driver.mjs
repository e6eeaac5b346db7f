// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One small interface over the three browser engines the page is tested in,
// so that a test says what a user does, not which engine does it:
//   chromium  Debian's Chromium through playwright-core
//   firefox   Firefox ESR through puppeteer-core over WebDriver BiDi
//   webkit    WebKitGTK's MiniBrowser through selenium-webdriver and
//             WebKitWebDriver, under Xvfb
// CORVANE_ENGINE picks one (chromium when unset). A browser that cannot be
// started fails the test that asked for it.
//
// What the engines' own protocols do differently or not at all happens in the
// page instead, the same way in each: a file picker the page opens is
// answered by giving its <input> the files and a change event, and a download
// the page starts (a click on a link to a blob) is kept, with its name and
// bytes, instead of reaching the browser's download folder.
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { mkdtempSync, readFileSync, readdirSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { chromiumArgs, freePort, servedWith, withBrowser } from './harness.mjs';

export const engine = process.env.CORVANE_ENGINE ?? 'chromium';
// The run's own browser, when run.sh started one (browser-host.mjs): a test
// then takes a private context of it, with storage, workers and caches of its
// own, instead of starting a browser, which took Firefox four seconds a file.
const runBrowser = process.env.CORVANE_BROWSER;
const TIMEOUT = 30000;
// Loading the page (the core's 2 MB of WebAssembly, a service worker's
// install) on a busy machine takes longest.
const LOAD_TIMEOUT = 4 * TIMEOUT;

// ---- What a test points at: a control by its role and accessible name,
// optionally inside another, or a CSS selector.
export const role = (kind, name, within) => ({ role: kind, name: pattern(name), within: scope(within) });
export const css = (selector, within) => ({ css: selector, within: scope(within) });
export const button = (name, within) => role('button', name, within);
export const heading = (name, within) => role('heading', name, within);
export const dialog = (id) => css(`dialog#${id}[open]`);
const pattern = (name) => (name instanceof RegExp ? { source: name.source, flags: name.flags } : name);
const scope = (within) => (typeof within === 'string' ? css(within) : within);

// ---- The part that runs in the page. It must stand alone: it is sent as text.
const PAGE = String(function install() {
  if (window.__driver) return;
  const d = (window.__driver = { downloads: [], choosers: [], errors: [], blobs: new Map(), marks: 0 });
  addEventListener('error', (e) => d.errors.push(String(e.message)));
  addEventListener('unhandledrejection', (e) => d.errors.push(String(e.reason?.stack ?? e.reason)));
  const createObjectURL = URL.createObjectURL;
  URL.createObjectURL = function (blob) {
    const url = createObjectURL.call(URL, blob);
    d.blobs.set(url, blob);
    return url;
  };
  // A test that opens the page anew leaves the last one on purpose: the
  // question about unsaved changes is not put then.
  const listen = EventTarget.prototype.addEventListener;
  const unlisten = EventTarget.prototype.removeEventListener;
  const wrapped = new WeakMap();
  const guarded = (target, type, listener) => target === window && type === 'beforeunload' && typeof listener === 'function';
  EventTarget.prototype.addEventListener = function (type, listener, options) {
    if (!guarded(this, type, listener)) return listen.call(this, type, listener, options);
    if (!wrapped.has(listener)) wrapped.set(listener, (event) => (d.leaving ? undefined : listener(event)));
    return listen.call(this, type, wrapped.get(listener), options);
  };
  EventTarget.prototype.removeEventListener = function (type, listener, options) {
    return unlisten.call(this, type, guarded(this, type, listener) ? wrapped.get(listener) ?? listener : listener, options);
  };
  const click = HTMLElement.prototype.click;
  HTMLElement.prototype.click = function () {
    if (this instanceof HTMLInputElement && this.type === 'file') {
      d.choosers.push(this);
      return undefined;
    }
    if (this instanceof HTMLAnchorElement && this.hasAttribute('download') && d.blobs.has(this.href)) {
      const name = this.download;
      d.downloads.push(d.blobs.get(this.href).arrayBuffer().then((buffer) => ({ name, base64: d.base64(new Uint8Array(buffer)) })));
      return undefined;
    }
    return click.call(this);
  };
  // Bytes leave the page as base64 text: as an array, the engines' protocols
  // carry each byte as a value of its own (WebDriver BiDi as an object each).
  d.base64 = (bytes) => {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(text);
  };
  const collapse = (text) => (text ?? '').replace(/\s+/g, ' ').trim();
  const byIds = (ids) => ids.split(/\s+/).map((id) => document.getElementById(id)?.textContent ?? '').join(' ');
  const ROLES = {
    button: 'button, [role="button"], input[type="button"], input[type="submit"]',
    heading: 'h1, h2, h3, h4, h5, h6, [role="heading"]',
    radio: 'input[type="radio"], [role="radio"]',
    checkbox: 'input[type="checkbox"], [role="checkbox"]',
    textbox: 'input:not([type]), input[type="text"], textarea, [role="textbox"]',
    group: 'fieldset, [role="group"]',
    img: 'img, [role="img"]',
    link: 'a[href], [role="link"]',
    dialog: 'dialog, [role="dialog"], [role="alertdialog"]',
    combobox: 'select, [role="combobox"]',
  };
  function nameOf(el) {
    if (el.hasAttribute('aria-labelledby')) return collapse(byIds(el.getAttribute('aria-labelledby')));
    if (el.hasAttribute('aria-label')) return collapse(el.getAttribute('aria-label'));
    // A label's text, without that of the control it holds.
    const labelText = (label) => [...label.childNodes].filter((n) => !n.contains(el)).map((n) => n.textContent).join(' ');
    if (el.labels?.length) return collapse([...el.labels].map(labelText).join(' '));
    if (el.tagName === 'FIELDSET') return collapse(el.querySelector(':scope > legend')?.textContent);
    if (el.tagName === 'IMG') return collapse(el.alt);
    return collapse(el.textContent);
  }
  const shown = (el) => el.getClientRects().length > 0 && getComputedStyle(el).visibility !== 'hidden';
  function matches(el, name) {
    if (name === undefined) return true;
    const actual = nameOf(el);
    return typeof name === 'string' ? actual === name : new RegExp(name.source, name.flags).test(actual);
  }
  // All shown elements the target describes, in document order.
  d.findAll = function findAll(target) {
    const roots = target.within ? findAll(target.within) : [document];
    const found = [];
    for (const root of roots) {
      const candidates = root.querySelectorAll(target.css ?? ROLES[target.role]);
      for (const el of candidates) if (shown(el) && matches(el, target.name) && !found.includes(el)) found.push(el);
    }
    return found;
  };
  // The one element a target describes, marked so that the engine can find
  // it by CSS; null when none is shown.
  d.mark = function mark(target) {
    const [el] = d.findAll(target);
    if (!el) return null;
    if (!el.dataset.driver) el.dataset.driver = String(++d.marks);
    return `[data-driver="${el.dataset.driver}"]`;
  };
});

// ---- The engines.
const withoutFileSystemAccess = () => {
  delete window.showSaveFilePicker;
  delete window.showOpenFilePicker;
  delete window.showDirectoryPicker;
};

const CHROMIUM = { executablePath: '/usr/bin/chromium', headless: true, args: chromiumArgs };
const FIREFOX = {
  browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true, protocolTimeout: 4 * TIMEOUT,
  // A loaded machine takes its time to start a browser; a wait is no failure.
  timeout: 4 * TIMEOUT,
  // Chromium's size, for a tab the test opens as for the first.
  defaultViewport: { width: 1280, height: 720 },
};

// A browser of `engine` for a whole run (browser-host.mjs), or null for an
// engine whose tests start their own: {endpoint, close()}.
export async function startRunBrowser() {
  if (engine === 'chromium') {
    const { chromium: playwright } = await import('playwright-core');
    const server = await playwright.launchServer(CHROMIUM);
    return { endpoint: server.wsEndpoint(), close: () => server.close() };
  }
  if (engine === 'firefox') {
    // Firefox takes one WebDriver BiDi session at a time: the launcher's
    // ends here, and each test's ends when it closes.
    // The profile is ours to remove: the launcher removes its own only when
    // it closes the browser itself.
    const { default: puppeteer } = await import('puppeteer-core');
    const profile = mkdtempSync(path.join(tmpdir(), 'corvane-firefox-'));
    const launched = await puppeteer.launch({ ...FIREFOX, userDataDir: profile });
    const endpoint = launched.wsEndpoint();
    const firefoxProcess = launched.process();
    const ended = once(firefoxProcess, 'exit');
    await launched.disconnect();
    return {
      endpoint,
      async close() {
        firefoxProcess.kill('SIGTERM');
        await ended;
        rmSync(profile, { recursive: true, force: true });
      },
    };
  }
  return null;
}

async function chromium({ fileSystemAccess }) {
  const { chromium: playwright } = await import('playwright-core');
  let context;
  let closeBrowser;
  if (runBrowser) {
    const browser = await playwright.connect(runBrowser);
    context = await browser.newContext();
    // Ends the contexts and the connection; the run's browser stays.
    closeBrowser = () => browser.close();
  } else {
    const profile = mkdtempSync(path.join(tmpdir(), 'corvane-chromium-'));
    context = await playwright.launchPersistentContext(profile, CHROMIUM);
    closeBrowser = async () => {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    };
  }
  if (!fileSystemAccess) await context.addInitScript(withoutFileSystemAccess);
  await context.addInitScript(`(${PAGE})()`);
  context.setDefaultTimeout(TIMEOUT);
  const page = context.pages()[0] ?? (await context.newPage());
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  return {
    errors,
    hasFileSystemAccess: fileSystemAccess,
    goto: (url) => page.goto(url, { timeout: LOAD_TIMEOUT }),
    run: (src, arg) => page.evaluate(([s, a]) => (0, eval)(s)(a), [src, arg]),
    click: (selector, position) => (position ? page.mouse.click(position.x, position.y) : page.click(selector)),
    move: (position) => page.mouse.move(position.x, position.y),
    type: (selector, text) => page.fill(selector, text),
    key: (keys) => page.keyboard.press(keys.join('+')),
    close: closeBrowser,
  };
}

async function firefox({ fileSystemAccess }) {
  if (fileSystemAccess) throw new Error('Firefox has no File System Access API');
  const { default: puppeteer } = await import('puppeteer-core');
  let page;
  let closeBrowser;
  if (runBrowser) {
    const browser = await puppeteer.connect({
      browserWSEndpoint: runBrowser, protocol: 'webDriverBiDi', protocolTimeout: FIREFOX.protocolTimeout,
      defaultViewport: FIREFOX.defaultViewport,
    });
    const context = await browser.createBrowserContext();
    page = await context.newPage();
    closeBrowser = async () => {
      await context.close();
      await browser.disconnect();
    };
  } else {
    const browser = await puppeteer.launch(FIREFOX);
    [page] = await browser.pages();
    await page.setViewport(FIREFOX.defaultViewport);
    closeBrowser = () => browser.close();
  }
  page.setDefaultTimeout(TIMEOUT);
  await page.evaluateOnNewDocument(`(${PAGE})()`);
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  const keyName = (key) => (key === 'Space' ? ' ' : key);
  return {
    errors,
    hasFileSystemAccess: false,
    goto: (url) => page.goto(url, { timeout: LOAD_TIMEOUT }),
    run: (src, arg) => page.evaluate((s, a) => (0, eval)(s)(a), src, arg),
    async click(selector, position) {
      if (position) return page.mouse.click(position.x, position.y);
      return (await page.$(selector)).click();
    },
    move: (position) => page.mouse.move(position.x, position.y),
    async type(selector, text) {
      await page.$eval(selector, (el) => { el.value = ''; el.focus(); });
      await page.type(selector, text);
    },
    async key(keys) {
      const modifiers = keys.slice(0, -1);
      for (const m of modifiers) await page.keyboard.down(m);
      await page.keyboard.press(keyName(keys.at(-1)));
      for (const m of modifiers.reverse()) await page.keyboard.up(m);
    },
    close: closeBrowser,
  };
}

async function webkit({ fileSystemAccess }) {
  if (fileSystemAccess) throw new Error('WebKit has no File System Access API');
  const { Builder, Key, By, Origin } = await import('selenium-webdriver');
  const port = await freePort();
  // Its own process group, so that closing ends Xvfb and the browser with it.
  const server = spawn('xvfb-run', ['-a', '/usr/bin/WebKitWebDriver', `--port=${port}`],
    { stdio: ['ignore', 'pipe', 'pipe'], detached: true });
  let said = '';
  server.stdout.on('data', (chunk) => { said += chunk; });
  server.stderr.on('data', (chunk) => { said += chunk; });
  const stop = async () => {
    if (server.exitCode !== null || server.signalCode !== null) return;
    try { process.kill(-server.pid, 'SIGTERM'); } catch { /* already gone */ }
    await once(server, 'exit');
  };
  let driver;
  try {
    // The driver answers once it listens; until then the session request fails.
    const deadline = Date.now() + TIMEOUT;
    for (;;) {
      if (server.exitCode !== null) throw new Error(`WebKitWebDriver ended: ${said}`);
      const up = await fetch(`http://127.0.0.1:${port}/status`).then((r) => r.ok, () => false);
      if (up) break;
      if (Date.now() > deadline) throw new Error(`WebKitWebDriver did not start: ${said}`);
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    driver = await new Builder()
      .usingServer(`http://127.0.0.1:${port}`)
      .withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'] },
      })
      .build();
    await driver.manage().setTimeouts({ script: TIMEOUT, pageLoad: LOAD_TIMEOUT, implicit: 0 });
  } catch (error) {
    await stop();
    throw error;
  }
  const KEYS = { Control: Key.CONTROL, Shift: Key.SHIFT, Alt: Key.ALT, Meta: Key.META, ArrowLeft: Key.ARROW_LEFT,
    ArrowRight: Key.ARROW_RIGHT, ArrowUp: Key.ARROW_UP, ArrowDown: Key.ARROW_DOWN, Space: Key.SPACE, Enter: Key.ENTER,
    Escape: Key.ESCAPE, Tab: Key.TAB, F1: Key.F1, Delete: Key.DELETE, Backspace: Key.BACK_SPACE };
  const keyOf = (key) => KEYS[key] ?? key.toLowerCase();
  return {
    errors: [],
    hasFileSystemAccess: false,
    goto: (url) => driver.get(url),
    async run(src, arg) {
      return driver.executeAsyncScript(
        'const done = arguments[arguments.length - 1];' +
        'Promise.resolve().then(() => (0, eval)(arguments[0])(arguments[1])).then(done, (e) => done({ __error: String(e && e.stack || e) }));',
        src, arg);
    },
    async click(selector, position) {
      const element = await driver.findElement(By.css(selector));
      if (!position) return element.click();
      return driver.actions().move({ origin: Origin.VIEWPORT, x: position.x, y: position.y }).click().perform();
    },
    move: (position) => driver.actions().move({ origin: Origin.VIEWPORT, x: position.x, y: position.y }).perform(),
    async type(selector, text) {
      const element = await driver.findElement(By.css(selector));
      await element.clear();
      await element.sendKeys(text);
    },
    async key(keys) {
      let actions = driver.actions();
      for (const k of keys) actions = actions.keyDown(keyOf(k));
      for (const k of [...keys].reverse()) actions = actions.keyUp(keyOf(k));
      await actions.perform();
    },
    async close() {
      try { await driver.quit(); } finally { await stop(); }
    },
  };
}

const ENGINES = { chromium, firefox, webkit };

// ---- A browser as a test uses it.
export async function launch({ fileSystemAccess = false } = {}) {
  const start = ENGINES[engine];
  if (!start) throw new Error(`no engine "${engine}": chromium, firefox or webkit`);
  const raw = await start({ fileSystemAccess });

  // Runs `fn(arg)` in the page, after the page part is there; rejects with
  // what the page threw.
  async function evaluate(fn, arg = null) {
    const src = `(async (arg) => { (${PAGE})(); try { return { value: await (${fn})(arg) }; }` +
      ' catch (e) { return { error: String(e && e.stack || e) }; } })';
    const result = await raw.run(src, arg);
    if (result?.__error || result?.error) throw new Error(`in the page: ${result.__error ?? result.error}`);
    return result?.value ?? null;
  }

  // Polls the page until `fn(arg)` gives something other than null or false.
  // A page that is loading anew may refuse to run anything; that is retried too.
  async function until(fn, arg, what, timeout = TIMEOUT) {
    const deadline = Date.now() + timeout;
    for (;;) {
      let value = null;
      let failure = '';
      try {
        value = await evaluate(fn, arg);
      } catch (error) {
        failure = `: ${error.message}`;
      }
      if (value !== null && value !== false) return value;
      if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}${failure}`);
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }

  const describe = (target) => JSON.stringify(target);
  const marked = (target) => until((t) => window.__driver.mark(t), target, describe(target));

  const pointIn = (selector, position) => evaluate(([s, x, y]) => {
    const element = document.querySelector(s);
    element.scrollIntoView({ block: 'nearest', inline: 'start' });
    const box = element.getBoundingClientRect();
    return { x: Math.round(box.left + x), y: Math.round(box.top + y) };
  }, [selector, position.x, position.y]);

  const browser = {
    engine,
    hasFileSystemAccess: raw.hasFileSystemAccess,
    evaluate,
    until,
    // Opens the page and waits until the core has loaded and the start screen takes clicks.
    async open(url) {
      await evaluate(() => { window.__driver.leaving = true; }).catch(() => {});
      await raw.goto(url);
      // The core compiles after the load event: as long as a load may take.
      await until(() => document.body?.dataset.ready === 'true', null, 'the page to be ready', LOAD_TIMEOUT);
    },
    // Clicks a target, or the point `position` from its top-left corner; the
    // point is brought into the window first (the engines would bring the
    // target's centre, which leaves the corner of a large picture in a
    // scrolled frame out of sight), and clicked where it then is.
    async click(target, position) {
      const selector = await marked(target);
      await raw.click(selector, position && await pointIn(selector, position));
    },
    // Moves the pointer to the point `position` of a target, as click does.
    async hover(target, position) {
      await raw.move(await pointIn(await marked(target), position));
    },
    async type(target, text) {
      await raw.type(await marked(target), text);
    },
    // Presses keys together, as 'Control+Shift+Z'.
    key: (keys) => raw.key(keys.split('+')),
    async press(key, times = 1) {
      for (let i = 0; i < times; i++) await raw.key(key.split('+'));
    },
    focus: async (target) => evaluate((s) => document.querySelector(s).focus(), await marked(target)),
    waitFor: (target) => marked(target),
    waitGone: (target) => until((t) => window.__driver.findAll(t).length === 0, target, `${describe(target)} to go`),
    count: (target) => evaluate((t) => window.__driver.findAll(t).length, target),
    text: async (target) => evaluate((s) => document.querySelector(s).textContent, await marked(target)),
    attribute: async (target, name) => evaluate(([s, n]) => document.querySelector(s).getAttribute(n), [await marked(target), name]),
    disabled: async (target) => evaluate((s) => document.querySelector(s).disabled, await marked(target)),
    check: (target) => browser.click(target),
    // Picks an option of a <select> by its value, as choosing it from the list does.
    select: async (target, value) => evaluate(([s, v]) => {
      const select = document.querySelector(s);
      select.value = v;
      select.dispatchEvent(new Event('input', { bubbles: true }));
      select.dispatchEvent(new Event('change', { bubbles: true }));
    }, [await marked(target), value]),
    // The pixels of a canvas, RGBA.
    async pixels(target) {
      const base64 = await evaluate((s) => {
        const c = document.querySelector(s);
        return window.__driver.base64(c.getContext('2d').getImageData(0, 0, c.width, c.height).data);
      }, await marked(target));
      return Buffer.from(base64, 'base64');
    },
    // Answers the file picker that `action` opens with `files` (paths), or
    // with a folder's files when `folder` is given.
    async choose(action, files, { folder } = {}) {
      const count = await evaluate(() => window.__driver.choosers.length);
      await action();
      await until((n) => window.__driver.choosers.length > n, count, 'a file picker');
      const picked = filesToSend(files, folder);
      await evaluate(({ index, picked }) => {
        const input = window.__driver.choosers[index];
        const files = picked.map(({ name, base64, relative }) => {
          const text = atob(base64);
          const bytes = new Uint8Array(text.length);
          for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
          const file = new File([bytes], name);
          if (relative) Object.defineProperty(file, 'webkitRelativePath', { value: relative });
          return file;
        });
        Object.defineProperty(input, 'files', { value: files, configurable: true });
        input.dispatchEvent(new Event('input', { bubbles: true }));
        input.dispatchEvent(new Event('change', { bubbles: true }));
      }, { index: count, picked });
    },
    // Drops files on a target as a drag from the desktop would: each
    // {name, bytes} or a path. Resolves with whether the page took the
    // drag and the drop (cancelled the events), which is what keeps the
    // browser from opening the file in place of the page.
    async drop(target, files) {
      const sent = files.map((f) => (typeof f === 'string'
        ? { name: path.basename(f), base64: readFileSync(f).toString('base64') }
        : { name: f.name, base64: Buffer.from(f.bytes).toString('base64') }));
      return evaluate(({ selector, sent }) => {
        const transfer = new DataTransfer();
        for (const { name, base64 } of sent) {
          const text = atob(base64);
          const bytes = new Uint8Array(text.length);
          for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
          transfer.items.add(new File([bytes], name));
        }
        const element = document.querySelector(selector);
        const taken = {};
        for (const type of ['dragenter', 'dragover', 'drop']) {
          const event = new Event(type, { bubbles: true, cancelable: true });
          Object.defineProperty(event, 'dataTransfer', { value: transfer });
          taken[type] = !element.dispatchEvent(event);
        }
        return { dragover: taken.dragover, drop: taken.drop };
      }, { selector: await marked(target), sent });
    },
    // The downloads `action` starts, each {name, bytes}, once `count` have begun.
    async downloads(action, count = 1) {
      const before = await evaluate(() => window.__driver.downloads.length);
      await action();
      await until(([b, n]) => window.__driver.downloads.length >= b + n, [before, count], `${count} download(s)`);
      const got = await evaluate(async (b) => Promise.all(window.__driver.downloads.slice(b)), before);
      return got.map(({ name, base64 }) => ({ name, bytes: Buffer.from(base64, 'base64') }));
    },
    async download(action) {
      const [one] = await browser.downloads(action, 1);
      return one;
    },
    // What the page threw and did not catch, as the engine and the page saw it.
    async errors() {
      const seen = await evaluate(() => window.__driver.errors);
      return [...new Set([...raw.errors, ...seen])];
    },
    close: () => raw.close(),
  };
  return browser;
}

function filesToSend(files, folder) {
  if (folder) {
    return readdirSync(folder).filter((n) => statSync(path.join(folder, n)).isFile()).map((name) => ({
      name, base64: readFileSync(path.join(folder, name)).toString('base64'), relative: `${path.basename(folder)}/${name}`,
    }));
  }
  return [files].flat().map((f) => ({ name: path.basename(f), base64: readFileSync(f).toString('base64') }));
}

// One server and one browser in the engine of the run for every test of a file.
export const servedPage = (ready) => servedWith(launch, ready);

// Runs `action` on a browser of launch(options), closing it however the action ends.
export const inPage = (action, options) => withBrowser(launch, action, options);

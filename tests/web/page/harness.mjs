// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What every browser test needs: the built page served by Python's
// http.server on a free port, the tool as the oracle, and the setup that
// driver.mjs gives each engine's launcher; also Debian's Chromium driven
// headless by playwright-core with a fresh profile (bench/web-load.mjs),
// never a downloaded browser.
import { spawn, execFileSync } from 'node:child_process';
import { once } from 'node:events';
import { after, before } from 'node:test';
import { mkdtempSync, rmSync, mkdirSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
export const site = path.join(repo, 'build/web');
export const tool = path.join(repo, 'build/release/corvane');
export const testData = path.join(repo, 'tests/data');

export async function freePort() {
  const probe = createServer().listen(0, '127.0.0.1');
  await once(probe, 'listening');
  const { port } = probe.address();
  probe.close();
  await once(probe, 'close');
  return port;
}

// Serves `folder` (build/web/) until stop(), with Last-Modified and no
// Cache-Control, as many hosts do; resolves once the server accepts
// requests, which it announces on its standard error before serving.
export async function serve(folder = site) {
  const port = await freePort();
  const server = spawn('python3', ['-u', '-m', 'http.server', String(port), '--bind', '127.0.0.1', '--directory', folder],
    { stdio: ['ignore', 'pipe', 'pipe'] });
  let said = '';
  await new Promise((resolve, reject) => {
    const listen = (chunk) => { said += chunk; if (said.includes('Serving HTTP')) resolve(); };
    server.stdout.on('data', listen);
    server.stderr.on('data', listen);
    server.once('exit', (code) => reject(new Error(`http.server ended (${code}): ${said}`)));
  });
  return {
    url: `http://127.0.0.1:${port}/`,
    async stop() {
      if (server.exitCode !== null || server.signalCode !== null) return;
      server.kill();
      await once(server, 'exit');
    },
  };
}

export const chromiumArgs = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

// A browser with a profile of its own, removed by close(). Downloads land in
// `downloads` and the File System Access pickers are taken away, so that
// saving goes through downloads as in browsers that lack them.
export async function launch({ fileSystemAccess = false } = {}) {
  const profile = mkdtempSync(path.join(tmpdir(), 'corvane-chromium-'));
  const downloads = path.join(profile, 'downloads');
  mkdirSync(downloads);
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: chromiumArgs,
    acceptDownloads: true,
    downloadsPath: downloads,
  });
  if (!fileSystemAccess) {
    await context.addInitScript(() => {
      delete window.showSaveFilePicker;
      delete window.showOpenFilePicker;
    });
  }
  // A failing step fails within this instead of hanging the run.
  context.setDefaultTimeout(30000);
  const page = context.pages()[0] ?? (await context.newPage());
  const errors = [];
  page.on('pageerror', (error) => errors.push(error));
  return {
    context, page, errors, profile,
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// One server and one browser of `start(options)` for every test of a file:
// the hooks are registered here, the two are the holder's once the first
// test runs, after `ready(shared)` has run (a file's own hook may run before
// this one). driver.mjs passes its engine's launcher.
export function servedWith(start, ready = async () => {}) {
  const shared = {};
  before(async () => {
    shared.server = await serve();
    shared.browser = await start();
    await ready(shared);
  });
  after(async () => {
    await shared.browser?.close();
    await shared.server?.stop();
  });
  return shared;
}

// Runs `action` on a browser of `start(options)`, closing it however the action ends.
export async function withBrowser(start, action, options) {
  const browser = await start(options);
  try {
    return await action(browser);
  } finally {
    await browser.close();
  }
}

// Opens the page and waits until the core has loaded and the start screen
// takes clicks.
export async function openPage(page, url) {
  await page.goto(url);
  await page.waitForSelector('body[data-ready="true"]');
}

// Runs the command-line tool; its output is the oracle of the page's files.
export function corvane(...args) {
  return execFileSync(tool, args, { stdio: ['ignore', 'pipe', 'pipe'] });
}

// A Palm database without its header's creation and modification dates
// (offsets 36 to 43), which are the moment of saving.
export const withoutDates = (bytes) => Buffer.concat([bytes.subarray(0, 36), bytes.subarray(44)]);

export const temporaryFolder = (prefix) => mkdtempSync(path.join(tmpdir(), prefix));

// A test file's own folder: made, then filled by `fill()`, before its tests,
// and removed after them. Returns `at(name)`, the path of a file in it,
// which `fill` is given too (its hook may run before the caller has it).
export function workFolder(prefix, fill = () => {}) {
  let work;
  const at = (name) => path.join(work, name);
  before(() => {
    work = temporaryFolder(prefix);
    return fill(at);
  });
  after(() => {
    if (work) rmSync(work, { recursive: true, force: true });
  });
  return at;
}

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The start screen: what it offers, that the keyboard reaches it, and that
// the page it belongs to is installable.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { button, role, servedPage } from './driver.mjs';
import { closeMessage, message } from './steps.mjs';

const shared = servedPage(({ browser, server }) => browser.open(server.url));

test('the start screen offers the two editors, in this order, to the keyboard', async () => {
  const page = shared.browser;
  assert.equal(await page.evaluate(() => document.title), 'Corvane Desktop');
  assert.ok((await page.evaluate(() => document.body.innerText)).includes('What would you like to work on?'));
  const reached = [];
  for (let i = 0; i < 2; i++) {
    await page.key('Tab');
    reached.push(await page.evaluate(() => document.activeElement.textContent));
  }
  assert.deepEqual(reached, ['Phone Application Skins', 'Splash Images']);
  assert.deepEqual(await page.errors(), []);
});

test('the manifest names the page and icons that exist', async () => {
  const manifestUrl = new URL(await shared.browser.evaluate(() => document.querySelector('link[rel="manifest"]').getAttribute('href')),
    shared.server.url);
  const manifest = await (await fetch(manifestUrl)).json();
  assert.equal(manifest.name, 'Corvane Desktop');
  assert.ok(manifest.icons.some((icon) => parseInt(icon.sizes, 10) >= 192), 'an icon large enough to install');
  for (const icon of manifest.icons) {
    const response = await fetch(new URL(icon.src, manifestUrl));
    assert.equal(response.status, 200, icon.src);
    const [width] = icon.sizes.split('x').map(Number);
    const png = new DataView(await response.arrayBuffer());
    assert.deepEqual([png.getUint32(16), png.getUint32(20)], [width, width], `${icon.src} is as large as it says`);
  }
});

test('the core is served as WebAssembly, which streaming compilation requires', async () => {
  const response = await fetch(new URL('corvane-core.wasm', shared.server.url));
  assert.equal(response.headers.get('content-type'), 'application/wasm');
});

// The manual is shipped with the page: F1 and "?" open it in a tab of their
// own, and the message that sends the user to it links it.
test('F1 and "?" open the manual shipped with the page, and a message naming it links it', async () => {
  const page = shared.browser;
  await page.open(shared.server.url);
  await page.evaluate(() => {
    window.opened = [];
    window.open = (url) => { window.opened.push(new URL(url, location.href).href); return null; };
  });
  for (const key of ['F1', '?']) await page.key(key);
  const opened = await page.evaluate(() => window.opened);
  assert.equal(opened.length, 2, 'one tab for each key');
  const manual = await fetch(opened[0]);
  assert.equal(manual.status, 200);
  assert.match(await manual.text(), /<title>Corvane Desktop Manual<\/title>/);
  assert.equal(opened[1], opened[0]);

  await page.click(button('Phone Application Skins'));
  await page.click(button('Insert Background Image...'));
  const link = role('link', 'the manual', message);
  assert.equal(new URL(await page.attribute(link, 'href'), shared.server.url).href, opened[0]);
  await closeMessage(page, 'Cancel');
  assert.deepEqual(await page.errors(), []);
});

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// After one visit the page and the core come from the service worker's
// cache: with the server stopped the page still loads and edits.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { launch, openPage, serve } from './harness.mjs';

test('the page works after the server is stopped', async () => {
  const server = await serve();
  const browser = await launch();
  try {
    const { page } = browser;
    await openPage(page, server.url);
    // Controlled once the worker has cached everything and claimed the page.
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    await server.stop();
    // Nothing from the browser's own HTTP cache: what loads comes from the worker.
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('Network.enable');
    await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    const failed = [];
    page.on('requestfailed', (request) => failed.push(request.url()));
    await openPage(page, server.url);
    await page.getByRole('button', { name: 'Phone Application Skins' }).click();
    await page.getByRole('heading', { name: /^untitled\.pdb - / }).waitFor();
    assert.equal(await page.locator('#preview-released').evaluate((c) => c.width), 320);
    assert.deepEqual(failed, []);
    assert.equal(browser.errors.length, 0, browser.errors.join('\n'));
  } finally {
    await browser.close();
    await server.stop();
  }
});

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// After one visit the page and the core come from the service worker's
// cache: with the server stopped the page still loads and edits.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { serve } from './harness.mjs';
import { button, css, inPage } from './driver.mjs';
import { startEditor } from './steps.mjs';

test('the page works after the server is stopped', async () => {
  const server = await serve();
  try {
    await inPage(async (page) => {
      await page.open(server.url);
      // Controlled once the worker has cached everything and claimed the page.
      await page.until(() => navigator.serviceWorker.controller !== null, null, 'the worker to take the page');
      await server.stop();

      await startEditor(page, server.url, 'Phone Application Skins');
      assert.equal(await page.evaluate(() => document.getElementById('preview-released').width), 320);
      // Each file the page loaded is one the worker keeps, which it answers
      // with before asking the network (or the browser's HTTP cache).
      const notKept = await page.evaluate(async () => {
        const loaded = [location.href, ...performance.getEntriesByType('resource').map((entry) => entry.name)]
          .filter((url) => new URL(url).origin === location.origin);
        const missing = [];
        for (const url of loaded) if (!(await caches.match(url, { ignoreSearch: true }))) missing.push(url);
        return { controlled: navigator.serviceWorker.controller !== null, loaded: loaded.length, missing };
      });
      assert.deepEqual(notKept.missing, []);
      assert.ok(notKept.controlled && notKept.loaded > 5, 'the page and its files came through the worker');
      await page.waitFor(button('Open Skin', css('#skin')));
      assert.deepEqual(await page.errors(), []);
    });
  } finally {
    await server.stop();
  }
});

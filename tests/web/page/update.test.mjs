// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A new version reaches the user: the page served anew, with old file dates
// and no Cache-Control, so that the browser's HTTP cache would still give
// the old files, is what the page runs after the offer to reload is taken.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { cpSync, readFileSync, readdirSync, rmSync, statSync, utimesSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { serve, site, temporaryFolder } from './harness.mjs';
import { button, css, inPage } from './driver.mjs';

// Every file dated a year back: browsers keep such a file a long while
// without asking the server again.
function age(folder) {
  const then = new Date(Date.now() - 365 * 24 * 3600 * 1000);
  for (const name of readdirSync(folder, { recursive: true })) {
    const file = path.join(folder, name);
    if (statSync(file).isFile()) utimesSync(file, then, then);
  }
}

function edit(file, from, to) {
  const text = readFileSync(file, 'utf8');
  assert.ok(text.includes(from), `${path.basename(file)} has ${from}`);
  writeFileSync(file, text.replace(from, to));
}

const offer = css('#update');

test('a new version is offered once its worker has it, and Reload runs it', async () => {
  const folder = temporaryFolder('corvane-web-update-');
  cpSync(site, folder, { recursive: true });
  age(folder);
  const server = await serve(folder);
  try {
    await inPage(async (page) => {
      await page.open(server.url);
      await page.until(() => navigator.serviceWorker.controller !== null, null, 'the worker to take the page');
      assert.equal(await page.count(offer), 0, 'the first visit is no news');

      // The next version: another page and another worker, dated as old.
      edit(path.join(folder, 'index.html'), '<html lang="en">', '<html lang="en" data-build="next">');
      edit(path.join(folder, 'sw.js'), "const CACHE = 'corvane-", "const CACHE = 'corvane-next-");
      age(folder);

      await page.open(server.url);
      assert.equal(await page.evaluate(() => document.documentElement.dataset.build ?? 'first'), 'first',
        'the visit that finds the new version still runs the old');
      await page.waitFor(offer);
      assert.equal((await page.text(offer)).replace(/\s+/g, ' ').trim(), 'A new version is ready — Reload');
      await page.click(button('Reload', offer));
      await page.until(() => document.documentElement.dataset.build === 'next' && document.body.dataset.ready === 'true',
        null, 'the new version to run');
      assert.deepEqual(await page.errors(), []);
    });
  } finally {
    await server.stop();
    rmSync(folder, { recursive: true, force: true });
  }
});

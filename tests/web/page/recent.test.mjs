// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Open Recent: the files each editor opened or saved, kept across visits.
// Where the engine has no File System Access API (or the file came through a
// picker, which gives no handle) the name is offered and the file picked
// again; a kept handle opens the file at once.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { corvane, testData, workFolder } from './harness.mjs';
import { button, dialog, heading, servedPage } from './driver.mjs';
import { TITLE, startEditor } from './steps.mjs';

const shared = servedPage();
const at = workFolder('corvane-web-recent-', (at) => {
  corvane('skin', 'new', '--depth', '16', '-o', at('First.pdb'));
  corvane('skin', 'new', '--depth', '8', '-o', at('Second.pdb'));
  corvane('splash', 'build', path.join(testData, 'splash/baseline-320x320.jpg'),
    path.join(testData, 'splash/progressive-320x320.jpg'), '-o', at('Summer.pdb'));
});

const recent = dialog('recent');

// The names Open Recent offers, in order.
async function offered(page) {
  await page.click(button('Open Recent...'));
  await page.waitFor(recent);
  return page.evaluate(() => [...document.querySelectorAll('#recent .files button')].map((b) => b.textContent));
}

test('Open Recent offers the files last opened, latest first, after the page is opened anew, and opens the one picked again', async () => {
  const page = shared.browser;
  await startEditor(page, shared.server.url, 'Phone Application Skins');
  assert.deepEqual(await offered(page), []);
  await page.click(button('Cancel', recent));
  for (const name of ['First.pdb', 'Second.pdb', 'First.pdb']) {
    await page.choose(() => page.click(button('Open Skin')), at(name));
    await page.waitFor(heading(`${name}${TITLE}`));
  }
  await startEditor(page, shared.server.url, 'Splash Images');
  await page.choose(() => page.click(button('Open Splash File')), at('Summer.pdb'));
  await page.waitFor(heading(`Summer.pdb${TITLE}`));

  await startEditor(page, shared.server.url, 'Phone Application Skins');
  assert.deepEqual(await offered(page), ['First.pdb', 'Second.pdb'], 'the skins, without the splash file');
  // A picker gave no handle to keep: the user picks the file again.
  await page.choose(() => page.click(button('Second.pdb', recent)), at('Second.pdb'));
  await page.waitFor(heading(`Second.pdb${TITLE}`));
  assert.deepEqual(await page.errors(), []);
});

test('a kept handle opens its file at once, without a picker', async () => {
  const page = shared.browser;
  await startEditor(page, shared.server.url, 'Splash Images');
  // Kept as the File System Access API would keep it: a handle the browser
  // can store, here a stand-in whose file is the one given.
  const bytes = readFileSync(at('Summer.pdb')).toString('base64');
  const choosers = await page.evaluate(async (data) => {
    window.keptFile = new File([Uint8Array.from(atob(data), (c) => c.charCodeAt(0))], 'Kept.pdb');
    const db = await new Promise((resolve, reject) => {
      const r = indexedDB.open('corvane', 1);
      r.onupgradeneeded = () => r.result.createObjectStore('recent');
      r.onsuccess = () => resolve(r.result);
      r.onerror = () => reject(r.error);
    });
    await new Promise((resolve, reject) => {
      const t = db.transaction('recent', 'readwrite');
      t.objectStore('recent').put([{ name: 'Kept.pdb', handle: { kind: 'file', name: 'Kept.pdb' } }], 'splash');
      t.oncomplete = resolve;
      t.onerror = () => reject(t.error);
    });
    db.close();
    // The stored stand-in has lost its methods, as any stored object does;
    // it gets back those a browser's handle has.
    const get = IDBObjectStore.prototype.get;
    IDBObjectStore.prototype.get = function (key) {
      const request = get.call(this, key);
      request.addEventListener('success', () => {
        for (const entry of request.result ?? []) {
          if (entry.handle) Object.assign(entry.handle, { queryPermission: async () => 'granted', getFile: async () => window.keptFile });
        }
      });
      return request;
    };
    return window.__driver.choosers.length;
  }, bytes);
  assert.deepEqual(await offered(page), ['Kept.pdb']);
  await page.click(button('Kept.pdb', recent));
  await page.waitFor(heading(`Kept.pdb${TITLE}`));
  assert.equal(await page.evaluate(() => window.__driver.choosers.length), choosers, 'no picker');
  assert.deepEqual(await page.errors(), []);
});

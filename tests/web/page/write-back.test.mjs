// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the browser has the File System Access API, Save as asks for a place
// once and Save writes back there; the bytes are the tool's.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, rmSync } from 'node:fs';
import path from 'node:path';
import { corvane, inBrowser, openPage, serve, temporaryFolder, withoutDates } from './harness.mjs';
import { button, closeMessage, startEditor } from './actions.mjs';


let work;
let server;
before(async () => {
  work = temporaryFolder('corvane-web-write-');
  server = await serve();
});
after(async () => {
  await server?.stop();
  if (work) rmSync(work, { recursive: true, force: true });
});

test('Save as picks a file once, Save writes back to it', async () => {
  await inBrowser(async (browser) => {
    const { page } = browser;
    // A picker that always answers with one file and keeps what is written to it.
    await page.addInitScript(() => {
      window.picked = 0;
      window.written = [];
      window.showSaveFilePicker = async () => {
        window.picked += 1;
        return {
          kind: 'file',
          name: 'Written.pdb',
          async createWritable() {
            const parts = [];
            return {
              write: async (bytes) => { parts.push(...bytes); },
              close: async () => { window.written.push(parts); },
              abort: async () => {},
            };
          },
        };
      };
    });
    await openPage(page, server.url);
    await startEditor(page, 'Phone Application Skins');
    for (const command of ['Save as...', 'Save Skin']) {
      await button(page, command).click();
      assert.equal((await closeMessage(page)).text, 'Skin saved successfully.');
      await page.waitForFunction((n) => window.written.length === n, command === 'Save as...' ? 1 : 2);
    }
    await page.getByRole('heading', { name: 'Written.pdb - Corvane Desktop for Treo 650/700p' }).waitFor();
    assert.equal(await page.evaluate(() => window.picked), 1, 'Save asks for no place once it has one');
    const expected = path.join(work, 'Written.pdb');
    corvane('skin', 'new', '--depth', '16', '-o', expected);
    for (const bytes of await page.evaluate(() => window.written))
      assert.ok(withoutDates(Buffer.from(bytes)).equals(withoutDates(readFileSync(expected))), 'the tool\'s default skin');
  }, { fileSystemAccess: true });
});

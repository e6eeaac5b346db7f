// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Save as asks for a place once and Save goes back there, the bytes the
// tool's: through the File System Access API where the engine has it, and as
// downloads under the name given where it has not (Firefox, WebKit), the
// name asked once.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, rmSync } from 'node:fs';
import path from 'node:path';
import { corvane, serve, temporaryFolder, withoutDates } from './harness.mjs';
import { button, dialog, engine, heading, inPage } from './driver.mjs';
import { TITLE, closeMessage, saveAs, startEditor } from './steps.mjs';

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

// Saves with `command`, answering the message; the file as the page wrote it.
const ways = {
  // A headless engine cannot answer its own save picker: one that always
  // gives the same file and keeps what is written to it stands in.
  async writeBack(page, command) {
    if (command === 'Save as...') {
      await page.evaluate(() => {
        window.picked = 0;
        window.written = [];
        window.showSaveFilePicker = async () => {
          window.picked += 1;
          const parts = [];
          return {
            kind: 'file',
            name: 'Written.pdb',
            createWritable: async () => ({
              write: async (bytes) => { parts.push(...bytes); },
              close: async () => { window.written.push([...parts]); parts.length = 0; },
              abort: async () => {},
            }),
          };
        };
      });
    }
    const before = await page.evaluate(() => window.written.length);
    await page.click(button(command));
    assert.equal((await closeMessage(page)).text, 'Skin saved successfully.');
    await page.until((n) => window.written.length > n, before, 'the file written');
    return { name: 'Written.pdb', bytes: Buffer.from(await page.evaluate(() => window.written.at(-1))) };
  },
  download: (page, command) => page.download(async () => {
    if (command === 'Save as...') await saveAs(page, 'Written.pdb');
    else await page.click(button(command));
    assert.equal((await closeMessage(page)).text, 'Skin saved successfully.');
  }),
};

test('Save as picks a place once, Save goes back to it', async () => {
  const fileSystemAccess = engine === 'chromium';
  await inPage(async (page) => {
    await startEditor(page, server.url, 'Phone Application Skins');
    assert.equal(await page.evaluate(() => typeof window.showSaveFilePicker === 'function'), fileSystemAccess,
      'the API is there in Chromium alone');
    const save = fileSystemAccess ? ways.writeBack : ways.download;
    const expected = path.join(work, 'Written.pdb');
    corvane('skin', 'new', '--depth', '16', '-o', expected);
    for (const command of ['Save as...', 'Save Skin']) {
      const saved = await save(page, command);
      assert.equal(saved.name, 'Written.pdb', command);
      assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(expected))), `${command}: the tool's default skin`);
      await page.waitFor(heading(`Written.pdb${TITLE}`));
    }
    assert.equal(await page.count(dialog('ask-name')), 0);
    if (fileSystemAccess) assert.equal(await page.evaluate(() => window.picked), 1, 'Save asks for no place once it has one');
    assert.deepEqual(await page.errors(), []);
  }, { fileSystemAccess });
});

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Import/Export commands against the tool: Insert Background Image and
// Import Dialpad Bitmaps (a question first, then the pictures) save the
// tool's skins; Export Preview and Export Dialpad Bitmaps download its pictures.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync, rmSync } from 'node:fs';
import path from 'node:path';
import { choose, corvane, downloadOf, inBrowser, launch, openPage, serve, temporaryFolder, withoutDates } from './harness.mjs';
import { button, closeMessage, saveAs, settled, startEditor } from './actions.mjs';


let work;
let server;
const at = (name) => path.join(work, name);
before(async () => {
  work = temporaryFolder('corvane-web-exchange-');
  execFileSync('convert', ['-size', '306x184', 'gradient:#3060c0-#f0d080', at('sky.png')]);
  execFileSync('convert', ['-size', '306x184', '-seed', '4', 'plasma:', '-type', 'TrueColor', `BMP3:${at('up.bmp')}`]);
  execFileSync('convert', ['-size', '306x184', '-seed', '5', 'plasma:', '-type', 'TrueColor', `BMP3:${at('down.bmp')}`]);
  corvane('skin', 'new', '--depth', '16', '-o', at('Default.pdb'));
  corvane('skin', 'background', at('Default.pdb'), at('sky.png'), '-o', at('Sky.pdb'));
  server = await serve();
});
after(async () => {
  await server?.stop();
  if (work) rmSync(work, { recursive: true, force: true });
});

async function editorWith(browser, skin) {
  const { page } = browser;
  await openPage(page, server.url);
  await startEditor(page, 'Phone Application Skins');
  if (skin) {
    await choose(page, () => button(page, 'Open Skin').click(), at(skin));
    await page.getByRole('heading', { name: `${skin} - Corvane Desktop for Treo 650/700p` }).waitFor();
  }
  return page;
}

const changes = [
  { command: 'Insert Background Image...', pictures: ['sky.png'], tool: ['background', 'sky.png'] },
  { command: 'Import Dialpad Bitmaps...', pictures: ['up.bmp', 'down.bmp'], tool: ['dialpad', 'up.bmp', 'down.bmp'],
    titles: [null, "Select image for 'background with pressed buttons'"] },
];

for (const change of changes) {
  test(`${change.command} on the default skin saves the tool's skin`, async () => {
    await inBrowser(async (browser) => {
      const page = await editorWith(browser, 'Default.pdb');
      await button(page, change.command).click();
      // The desktop's warning comes before the pictures are asked for; a
      // second picture is asked for under the desktop's title.
      for (const [i, picture] of change.pictures.entries()) {
        const prompt = page.locator('dialog#file-prompt[open]');
        const ask = i === 0 ? () => closeMessage(page, 'OK') : async () => {
          await prompt.getByRole('heading', { name: change.titles[i] }).waitFor();
          await button(prompt, 'Choose File...').click();
        };
        await choose(page, ask, at(picture));
      }
      await settled(page);
      await page.getByRole('heading', { name: /^Default\.pdb\* - / }).waitFor();
      const saved = await downloadOf(page, async () => {
        await saveAs(page, 'Changed.pdb');
        await closeMessage(page);
      });
      const [subcommand, ...pictures] = change.tool;
      corvane('skin', subcommand, at('Default.pdb'), ...pictures.map(at), '-o', at('Changed.pdb'));
      assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(at('Changed.pdb')))), 'the same bytes as the tool writes');
    });
  });
}

// Each command's downloads, and the tool's command that writes them into a folder.
const preview = (folder) => corvane('skin', 'preview', at('Sky.pdb'), '-o', folder);
const exports = [
  { command: 'Export Preview...', files: ['Sky-preview.bmp'], tool: preview },
  { command: 'Export Dialpad Bitmaps...', files: ['Sky-dial-unpressed.bmp', 'Sky-dial-pressed.bmp'], tool: preview },
  { command: 'Export Layered Image...', files: ['Sky.psd'],
    tool: (folder) => corvane('skin', 'extract', at('Sky.pdb'), '-o', path.join(folder, 'Sky.psd')) },
];

for (const { command, files, tool } of exports) {
  test(`${command} downloads the tool's files`, async () => {
    const expected = temporaryFolder('corvane-web-expected-');
    tool(expected);
    const browser = await launch();
    try {
      const page = await editorWith(browser, 'Sky.pdb');
      const downloads = [];
      const all = new Promise((resolve) => page.on('download', (d) => downloads.push(d) === files.length && resolve()));
      await button(page, command).click();
      await all;
      const got = [];
      for (const download of downloads)
        got.push({ name: download.suggestedFilename(), bytes: readFileSync(await download.path()) });
      got.sort((a, b) => files.indexOf(a.name) - files.indexOf(b.name));
      assert.deepEqual(got.map((g) => g.name), files);
      for (const { name, bytes } of got) assert.ok(bytes.equals(readFileSync(path.join(expected, name))), name);
    } finally {
      rmSync(expected, { recursive: true, force: true });
      await browser.close();
    }
  });
}

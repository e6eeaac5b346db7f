// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Import/Export commands against the tool: Insert Background Image and
// Import Dialpad Bitmaps (a question first, then the pictures) save the
// tool's skins; Export Preview, Export Dialpad Bitmaps (one zip) and Export
// Layered Image (Photoshop and OpenRaster) download the tool's files; and
// the OpenRaster file comes back in, dropped, as the tool builds it. Saving
// is a download, as in every browser without the File System Access API.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { corvane, temporaryFolder, withoutDates, workFolder } from './harness.mjs';
import { button, css, dialog, heading, role, servedPage } from './driver.mjs';
import { TITLE, closeMessage, message, startEditor } from './steps.mjs';

const shared = servedPage();
const at = workFolder('corvane-web-exchange-', (at) => {
  execFileSync('convert', ['-size', '306x184', 'gradient:#3060c0-#f0d080', at('sky.png')]);
  execFileSync('convert', ['-size', '306x184', '-seed', '4', 'plasma:', '-type', 'TrueColor', `BMP3:${at('up.bmp')}`]);
  execFileSync('convert', ['-size', '306x184', '-seed', '5', 'plasma:', '-type', 'TrueColor', `BMP3:${at('down.bmp')}`]);
  corvane('skin', 'new', '--depth', '16', '-o', at('Default.pdb'));
  corvane('skin', 'background', at('Default.pdb'), at('sky.png'), '-o', at('Sky.pdb'));
});

async function editorWith(page, skin) {
  await startEditor(page, shared.server.url, 'Phone Application Skins');
  await page.choose(() => page.click(button('Open Skin')), at(skin));
  await page.waitFor(heading(`${skin}${TITLE}`));
}

// Save as, answered with a name: without the File System Access API a download.
async function savedAs(page, name) {
  const saved = await page.download(async () => {
    await page.click(button('Save as...'));
    await page.type(role('textbox', 'File name', dialog('ask-name')), name);
    await page.click(button('OK', dialog('ask-name')));
    await closeMessage(page);
  });
  assert.equal(saved.name, name);
  return saved;
}

const sameSkin = (saved, file) => assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(file))), 'the tool\'s skin');

const changes = [
  { command: 'Insert Background Image...', pictures: ['sky.png'], tool: ['background', 'sky.png'] },
  { command: 'Import Dialpad Bitmaps...', pictures: ['up.bmp', 'down.bmp'], tool: ['dialpad', 'up.bmp', 'down.bmp'],
    titles: [null, "Select image for 'background with pressed buttons'"] },
];

for (const change of changes) {
  test(`${change.command} on the default skin saves the tool's skin`, async () => {
    const page = shared.browser;
    assert.equal(page.hasFileSystemAccess, false);
    await editorWith(page, 'Default.pdb');
    await page.click(button(change.command));
    // The desktop's warning comes before the pictures are asked for; a
    // second picture is asked for under the desktop's title.
    for (const [i, picture] of change.pictures.entries()) {
      const prompt = dialog('file-prompt');
      const ask = i === 0 ? () => closeMessage(page, 'OK') : async () => {
        await page.waitFor(heading(change.titles[i], prompt));
        await page.click(button('Choose File...', prompt));
      };
      await page.choose(ask, at(picture));
    }
    await page.waitFor(heading(`Default.pdb*${TITLE}`));
    const saved = await savedAs(page, 'Changed.pdb');
    const [subcommand, ...pictures] = change.tool;
    corvane('skin', subcommand, at('Default.pdb'), ...pictures.map(at), '-o', at('Changed.pdb'));
    sameSkin(saved, at('Changed.pdb'));
    assert.deepEqual(await page.errors(), []);
  });
}

// Each command's download, and the files the tool writes for it.
const preview = (folder) => corvane('skin', 'preview', at('Sky.pdb'), '-o', folder);
const extract = (name) => (folder) => corvane('skin', 'extract', at('Sky.pdb'), '-o', path.join(folder, name));
const exports = [
  { command: 'Export Preview...', download: 'Sky-preview.bmp', tool: preview },
  { command: 'Export Dialpad Bitmaps...', download: 'Sky-dialpad.zip', tool: preview,
    zipped: ['Sky-dial-pressed.bmp', 'Sky-dial-unpressed.bmp'] },
  { command: 'Export Layered Image...', download: 'Sky.psd', tool: extract('Sky.psd') },
  { command: 'Export Layered Image (OpenRaster)...', download: 'Sky.ora', tool: extract('Sky.ora') },
];

for (const { command, download, tool, zipped } of exports) {
  test(`${command} downloads the tool's files as one download`, async () => {
    const page = shared.browser;
    const expected = temporaryFolder('corvane-web-expected-');
    try {
      tool(expected);
      await editorWith(page, 'Sky.pdb');
      const got = await page.download(() => page.click(button(command)));
      assert.equal(got.name, download);
      if (!zipped) {
        assert.ok(got.bytes.equals(readFileSync(path.join(expected, download))), download);
      } else {
        const unpacked = path.join(expected, 'unzipped');
        writeFileSync(path.join(expected, download), got.bytes);
        execFileSync('unzip', ['-q', path.join(expected, download), '-d', unpacked]);
        assert.deepEqual(readdirSync(unpacked).sort(), zipped);
        for (const name of zipped) assert.ok(readFileSync(path.join(unpacked, name)).equals(readFileSync(path.join(expected, name))), name);
      }
      assert.deepEqual(await page.errors(), []);
    } finally {
      rmSync(expected, { recursive: true, force: true });
    }
  });
}

test('an OpenRaster file out of the page comes back in, dropped, as the tool builds it', async () => {
  const page = shared.browser;
  await editorWith(page, 'Sky.pdb');
  const ora = await page.download(() => page.click(button('Export Layered Image (OpenRaster)...')));
  await startEditor(page, shared.server.url, 'Phone Application Skins');
  await page.drop(css('#skin'), [{ name: ora.name, bytes: ora.bytes }]);
  await page.waitFor(heading(`untitled.pdb*${TITLE}`));
  assert.equal(await page.count(message), 0, 'every element found, nothing to report');
  const saved = await savedAs(page, 'FromOra.pdb');
  writeFileSync(at('Sky.ora'), ora.bytes);
  corvane('skin', 'build', at('Sky.ora'), '--depth', '16', '-o', at('FromOra.pdb'));
  sameSkin(saved, at('FromOra.pdb'));
  assert.deepEqual(await page.errors(), []);
});

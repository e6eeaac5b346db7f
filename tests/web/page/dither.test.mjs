// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Dither Pictures on the page: a bitmap set imported with it ticked is the
// tool's --dither diffusion build, and the page still has it ticked after a reload.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync, rmSync } from 'node:fs';
import path from 'node:path';
import { corvane, downloadOf, inBrowser, openPage, serve, temporaryFolder, withoutDates } from './harness.mjs';
import { closeMessage, importBitmapFolder, saveAs, startEditor } from './actions.mjs';

let work;
let server;
before(async () => {
  work = temporaryFolder('corvane-web-dither-');
  const at = (name) => path.join(work, name);
  corvane('skin', 'new', '--depth', '16', '-o', at('Default.pdb'));
  corvane('skin', 'extract', at('Default.pdb'), '-o', at('set'));
  // A gradient title bar, which bands without dithering.
  execFileSync('convert', ['-size', '320x30', 'gradient:#3060c0-#f0d080', '-type', 'TrueColor', `BMP3:${at('set/titlebar.bmp')}`]);
  corvane('skin', 'build', at('set'), '--depth', '16', '--dither', 'diffusion', '-o', at('Dithered.pdb'));
  server = await serve();
});
after(async () => {
  await server?.stop();
  if (work) rmSync(work, { recursive: true, force: true });
});

test('a set imported with Dither Pictures ticked is the tool\'s diffused build, and the choice outlives a reload', async () => {
  await inBrowser(async (browser) => {
    const { page } = browser;
    await openPage(page, server.url);
    await startEditor(page, 'Phone Application Skins');
    const dither = page.getByRole('checkbox', { name: 'Dither Pictures' });
    assert.equal(await dither.isChecked(), false);
    await dither.check();
    await importBitmapFolder(page, path.join(work, 'set'));
    await page.getByRole('heading', { name: /^untitled\.pdb\* - / }).waitFor();
    const saved = await downloadOf(page, async () => {
      await saveAs(page, 'Dithered.pdb');
      assert.equal((await closeMessage(page)).text, 'Skin saved successfully.');
    });
    assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(path.join(work, 'Dithered.pdb')))),
      'the same bytes as the tool writes with --dither diffusion');

    await openPage(page, server.url);
    await startEditor(page, 'Phone Application Skins');
    assert.equal(await page.getByRole('checkbox', { name: 'Dither Pictures' }).isChecked(), true);
    assert.deepEqual(browser.errors, []);
  });
});

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Dither Pictures on the page: a bitmap set imported with it ticked is the
// tool's --dither diffusion build, and the page still has it ticked after a reload.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { corvane, withoutDates, workFolder } from './harness.mjs';
import { heading, role, servedPage } from './driver.mjs';
import { TITLE, closeMessage, importBitmaps, saveAs, startEditor } from './steps.mjs';

const shared = servedPage();
const at = workFolder('corvane-web-dither-', (at) => {
  corvane('skin', 'new', '--depth', '16', '-o', at('Default.pdb'));
  corvane('skin', 'extract', at('Default.pdb'), '-o', at('set'));
  // A gradient title bar, which bands without dithering.
  execFileSync('convert', ['-size', '320x30', 'gradient:#3060c0-#f0d080', '-type', 'TrueColor', `BMP3:${at('set/titlebar.bmp')}`]);
  corvane('skin', 'build', at('set'), '--depth', '16', '--dither', 'diffusion', '-o', at('Dithered.pdb'));
});

const ditherBox = role('checkbox', 'Dither Pictures');
const ticked = (page) => page.evaluate(() => document.querySelector('#dither-pictures').checked);

test('a set imported with Dither Pictures ticked is the tool\'s diffused build, and the choice outlives a reload', async () => {
  const page = shared.browser;
  await startEditor(page, shared.server.url, 'Phone Application Skins');
  assert.equal(await ticked(page), false);
  await page.check(ditherBox);
  await importBitmaps.folder(page, at('set'));
  await page.waitFor(heading(`untitled.pdb*${TITLE}`));
  const saved = await page.download(async () => {
    await saveAs(page, 'Dithered.pdb');
    assert.equal((await closeMessage(page)).text, 'Skin saved successfully.');
  });
  assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(at('Dithered.pdb')))),
    'the same bytes as the tool writes with --dither diffusion');

  await startEditor(page, shared.server.url, 'Phone Application Skins');
  assert.equal(await ticked(page), true);
  assert.deepEqual(await page.errors(), []);
});

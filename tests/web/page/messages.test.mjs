// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Messages that fit a window: a bitmap set's import that misses most
// pictures says so in a few lines under a heading that stays in view, keeps
// the whole list in its details, and names the files it left out.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { copyFileSync } from 'node:fs';
import path from 'node:path';
import { corvane, workFolder } from './harness.mjs';
import { button, css, servedPage } from './driver.mjs';
import { closeMessage, closeMessageBeforeNext, message, settled, startEditor } from './steps.mjs';

const shared = servedPage();
const at = workFolder('corvane-web-messages-', (at) => {
  corvane('skin', 'new', '--depth', '16', '-o', at('Plain.pdb'));
  corvane('skin', 'extract', at('Plain.pdb'), '-o', at('set'));
  // The title bar once more under the name a user might give it.
  copyFileSync(at('set/titlebar.bmp'), at('Title Bar.bmp'));
});

test('three files imported as a bitmap set: a short report of what is missing, and the file left out for its name', async () => {
  const page = shared.browser;
  await startEditor(page, shared.server.url, 'Phone Application Skins');
  await page.choose(() => page.click(button('Import Bitmaps (files)...')),
    [at('set/titlebar.bmp'), at('set/eventbar.bmp'), at('Title Bar.bmp')]);
  await page.waitFor(message);
  const seen = await page.evaluate(() => {
    const box = document.querySelector('#message');
    const frame = box.getBoundingClientRect();
    const caption = box.querySelector('.caption').getBoundingClientRect();
    return {
      lines: box.querySelector('.text').innerText.split('\n').length,
      captionInView: caption.top >= frame.top && caption.bottom <= frame.bottom && caption.top >= 0,
      detailsFolded: !box.querySelector('.more').open,
    };
  });
  assert.ok(seen.lines <= 12, `${seen.lines} lines`);
  assert.deepEqual({ captionInView: seen.captionInView, detailsFolded: seen.detailsFolded }, { captionInView: true, detailsFolded: true });
  const details = await page.evaluate(() => document.querySelector('#message .details').textContent);
  const missing = await closeMessageBeforeNext(page);
  assert.match(missing, /^The following bitmap\(s\) could not be imported:/);
  assert.match(missing, /… and \d+ more \(see Details\)/);
  // Every picture of the set but the two given is in the details.
  for (const name of ['scedge.bmp', 'dialbutton.bmp', '5pressed.bmp']) assert.ok(details.includes(name), `${name} in the details`);
  assert.ok(!/^\s*titlebar\.bmp$/m.test(missing + details), 'the title bar was imported');

  assert.equal((await closeMessage(page)).text, 'Not imported, because no picture of a skin has this name: Title Bar.bmp.\n\n'
    + 'A bitmap set\'s pictures are named as Export Bitmaps names them, such as titlebar.bmp or 5pressed.bmp.');
  await settled(page);
  assert.equal(await page.count(css('#message[open]')), 0);
  assert.deepEqual(await page.errors(), []);
});

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash editor: a splash file built on the page is the tool's, opens
// again with both pictures, and gives each picture back byte for byte.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, rmSync } from 'node:fs';
import path from 'node:path';
import { choose, corvane, downloadOf, openPage, servedBrowser, temporaryFolder, testData, withoutDates } from './harness.mjs';
import { button, closeMessage, saveAs, startEditor } from './actions.mjs';

const welcome = path.join(testData, 'splash/baseline-320x320.jpg');
const goodbye = path.join(testData, 'splash/progressive-320x320.jpg');

const shared = servedBrowser();
let work;
before(() => {
  work = temporaryFolder('corvane-web-splash-');
});
after(() => {
  if (work) rmSync(work, { recursive: true, force: true });
});

test('a splash file built from two JPEGs is the tool\'s, and reopens with both', async () => {
  const { page } = shared.browser;
  await openPage(page, shared.server.url);
  await startEditor(page, 'Splash Images');
  const saveSplash = button(page, 'Save Splash File');
  assert.ok(await saveSplash.isDisabled(), 'nothing to save before both pictures are there');

  await choose(page, () => button(page, 'Load Welcome Image').click(), welcome);
  await page.getByRole('img', { name: 'Welcome picture' }).waitFor();
  assert.ok(await saveSplash.isDisabled(), 'one picture is not enough');
  await choose(page, () => button(page, 'Load Goodbye Image').click(), goodbye);
  await page.getByRole('img', { name: 'Goodbye picture' }).waitFor();

  const saved = await downloadOf(page, async () => {
    await saveAs(page, 'Summer.pdb');
    assert.equal((await closeMessage(page)).text, 'Splash saved successfully.');
  });
  const expected = path.join(work, 'Summer.pdb');
  corvane('splash', 'build', welcome, goodbye, '-o', expected);
  assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(expected))), 'the same bytes as the tool writes');

  // A fresh editor, then the saved file opened in it.
  await button(page, 'Work on Phone Application Skins').click();
  await button(page, 'Work on Splash Images').click();
  await page.getByRole('heading', { name: /^untitled\.pdb - / }).waitFor();
  await choose(page, () => button(page, 'Open Splash File').click(), expected);
  await page.getByRole('heading', { name: 'Summer.pdb - Corvane Desktop for Treo 650/700p' }).waitFor();

  for (const [which, original] of [['Welcome', welcome], ['Goodbye', goodbye]]) {
    const picture = await downloadOf(page, async () => {
      await button(page, `Save ${which} Image`).click();
      assert.equal((await closeMessage(page)).text, 'Jpeg image saved successfully.');
    });
    assert.ok(picture.bytes.equals(readFileSync(original)), `${which}: the JPEG as it was loaded`);
  }
  assert.deepEqual(shared.browser.errors, []);
});

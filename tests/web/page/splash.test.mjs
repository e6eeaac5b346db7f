// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash editor: a splash file built on the page is the tool's, opens
// again with both pictures, gives each picture back byte for byte, and an
// opened file saved again is still the tool's.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, rmSync } from 'node:fs';
import path from 'node:path';
import { corvane, temporaryFolder, testData, withoutDates } from './harness.mjs';
import { button, dialog, heading, role, servedPage } from './driver.mjs';
import { TITLE, closeMessage, startEditor } from './steps.mjs';

const welcome = path.join(testData, 'splash/baseline-320x320.jpg');
const goodbye = path.join(testData, 'splash/progressive-320x320.jpg');

const shared = servedPage();
let work;
before(() => {
  work = temporaryFolder('corvane-web-splash-');
});
after(() => {
  if (work) rmSync(work, { recursive: true, force: true });
});

const splashEditor = (page) => startEditor(page, shared.server.url, 'Splash Images');

test('a splash file built from two JPEGs is the tool\'s, and reopens with both', async () => {
  const page = shared.browser;
  await splashEditor(page);
  const saveSplash = button('Save Splash File');
  assert.ok(await page.disabled(saveSplash), 'nothing to save before both pictures are there');

  await page.choose(() => page.click(button('Load Welcome Image')), welcome);
  await page.waitFor(role('img', 'Welcome picture'));
  assert.ok(await page.disabled(saveSplash), 'one picture is not enough');
  await page.choose(() => page.click(button('Load Goodbye Image')), goodbye);
  await page.waitFor(role('img', 'Goodbye picture'));

  const saved = await page.download(async () => {
    await page.click(button('Save as...'));
    await page.type(role('textbox', 'File name', dialog('ask-name')), 'Summer.pdb');
    await page.click(button('OK', dialog('ask-name')));
    assert.equal((await closeMessage(page)).text, 'Splash saved successfully.');
  });
  assert.equal(saved.name, 'Summer.pdb');
  const expected = path.join(work, 'Summer.pdb');
  corvane('splash', 'build', welcome, goodbye, '-o', expected);
  assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(expected))), 'the same bytes as the tool writes');

  // A fresh editor, then the saved file opened in it.
  await page.click(button('Work on Phone Application Skins'));
  await page.click(button('Work on Splash Images'));
  await page.waitFor(heading(/^untitled\.pdb - /));
  await page.choose(() => page.click(button('Open Splash File')), expected);
  await page.waitFor(heading(`Summer.pdb${TITLE}`));

  for (const [which, original] of [['Welcome', welcome], ['Goodbye', goodbye]]) {
    const picture = await page.download(async () => {
      await page.click(button(`Save ${which} Image`));
      assert.equal((await closeMessage(page)).text, 'Jpeg image saved successfully.');
    });
    assert.ok(picture.bytes.equals(readFileSync(original)), `${which}: the JPEG as it was loaded`);
  }
  assert.deepEqual(await page.errors(), []);
});

// Without the File System Access API, Save hands the file back as a download
// under its own name; what comes back is what the tool builds from the same
// two pictures.
test('an opened splash file saved again is the tool\'s, as a download under its name', async () => {
  const page = shared.browser;
  assert.equal(page.hasFileSystemAccess, false);
  const original = path.join(work, 'Autumn.pdb');
  corvane('splash', 'build', welcome, goodbye, '-o', original);

  await splashEditor(page);
  await page.choose(() => page.click(button('Open Splash File')), original);
  await page.waitFor(heading(`Autumn.pdb${TITLE}`));
  const saved = await page.download(async () => {
    await page.click(button('Save Splash File'));
    assert.equal((await closeMessage(page)).text, 'Splash saved successfully.');
  });
  assert.equal(saved.name, 'Autumn.pdb');
  assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(original))), 'the same bytes as the tool writes');
  await page.waitFor(heading(`Autumn.pdb${TITLE}`));
  assert.deepEqual(await page.errors(), []);
});

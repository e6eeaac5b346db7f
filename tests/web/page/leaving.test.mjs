// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Unsaved changes are never lost unasked: leaving the page warns while the
// skin or splash is modified, and Exit asks the desktop's question, whose
// Cancel stays and No leaves.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { testData } from './harness.mjs';
import { button, css, heading, role, servedPage } from './driver.mjs';
import { chooser, closeMessage, elementEditor, elementEditorDialog, startEditor } from './steps.mjs';

const shared = servedPage();

// Whether leaving the page now would ask first.
const warnsOnLeaving = (page) => page.evaluate(() => {
  const event = new Event('beforeunload', { cancelable: true });
  window.dispatchEvent(event);
  return event.defaultPrevented;
});

const welcome = path.join(testData, 'splash/baseline-320x320.jpg');
const editors = [
  {
    editor: 'Phone Application Skins',
    // A transparent colour picked for the title bar.
    async change(page) {
      await elementEditor(page, 'Edit Title and Event Bar');
      await page.click(button('Transparent Color', role('group', 'Title Bar', elementEditorDialog)));
      await page.click(css('canvas', chooser), { x: 2, y: 2 });
      await page.click(button('OK', chooser));
      await page.click(button('OK', elementEditorDialog));
    },
    question: 'You changed the current skin. Do you want to save your changes before exiting?',
  },
  {
    editor: 'Splash Images',
    change: (page) => page.choose(() => page.click(button('Load Welcome Image')), welcome),
    question: 'You changed the current splash file. Do you want to save your changes before exiting?',
  },
];

for (const { editor, change, question } of editors) {
  test(`${editor}: a warning before leaving with changes, and the question on Exit`, async () => {
    const page = shared.browser;
    await startEditor(page, shared.server.url, editor);
    assert.equal(await warnsOnLeaving(page), false, 'nothing to lose yet');
    await change(page);
    await page.waitFor(heading(/^untitled\.pdb\* - /));
    assert.equal(await warnsOnLeaving(page), true, 'a change to lose');

    await page.click(button('Exit'));
    assert.equal((await closeMessage(page, 'Cancel')).text, question);
    await page.waitFor(heading(/^untitled\.pdb\* - /));
    await page.click(button('Exit'));
    assert.equal((await closeMessage(page, 'No')).text, question);
    await page.waitFor(button('Phone Application Skins'));
    assert.equal(await warnsOnLeaving(page), false, 'the editor has gone, and its warning with it');
    assert.deepEqual(await page.errors(), []);
  });
}

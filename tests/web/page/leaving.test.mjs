// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Unsaved changes are never lost unasked: leaving the page warns while the
// skin or splash is modified, and Exit asks the desktop's question, whose
// Cancel stays and No leaves.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { choose, openPage, servedBrowser, testData } from './harness.mjs';
import { button, closeMessage, elementEditor, startEditor } from './actions.mjs';

const shared = servedBrowser();

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
    change: async (page) => {
      const dialog = await elementEditor(page, 'Edit Title and Event Bar');
      await button(dialog.getByRole('group', { name: 'Title Bar' }), 'Transparent Color').click();
      const chooser = page.locator('dialog#chooser[open]');
      await chooser.locator('canvas').click({ position: { x: 2, y: 2 } });
      await button(chooser, 'OK').click();
      await button(dialog, 'OK').click();
    },
    question: 'You changed the current skin. Do you want to save your changes before exiting?',
  },
  {
    editor: 'Splash Images',
    change: (page) => choose(page, () => button(page, 'Load Welcome Image').click(), welcome),
    question: 'You changed the current splash file. Do you want to save your changes before exiting?',
  },
];

for (const { editor, change, question } of editors) {
  test(`${editor}: a warning before leaving with changes, and the question on Exit`, async () => {
    const { page } = shared.browser;
    await openPage(page, shared.server.url);
    await startEditor(page, editor);
    assert.equal(await warnsOnLeaving(page), false, 'nothing to lose yet');
    await change(page);
    await page.getByRole('heading', { name: /^untitled\.pdb\* - / }).waitFor();
    assert.equal(await warnsOnLeaving(page), true, 'a change to lose');

    await button(page, 'Exit').click();
    assert.equal((await closeMessage(page, 'Cancel')).text, question);
    await page.getByRole('heading', { name: /^untitled\.pdb\* - / }).waitFor();
    await button(page, 'Exit').click();
    assert.equal((await closeMessage(page, 'No')).text, question);
    await button(page, 'Phone Application Skins').waitFor();
    assert.equal(await warnsOnLeaving(page), false, 'the editor has gone, and its warning with it');
  });
}

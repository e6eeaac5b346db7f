// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Accessibility, screen by screen and dialog by dialog: axe-core finds no
// violation (names, roles, contrast, labels), and the keyboard alone walks
// each dialog's controls without leaving it, and closes it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { button, css, dialog, heading, role, servedPage } from './driver.mjs';
import { chooser, elementEditor, elementEditorDialog, message, startEditor } from './steps.mjs';

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const shared = servedPage();

// What axe finds wrong in the page as it is shown now, one line each.
async function violations(page) {
  return page.evaluate(async (source) => {
    if (!window.axe) (0, eval)(source);
    const { violations: found } = await window.axe.run(document, { resultTypes: ['violations'] });
    return found.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  }, axeSource);
}

const skinEditor = (page) => startEditor(page, shared.server.url, 'Phone Application Skins');
const ELEMENT_EDITORS = ['Edit Keypad Buttons', 'Edit Keypad Text', 'Edit Speed Dial Buttons', 'Edit Title and Event Bar'];

// Each screen or dialog: how the user gets there, and, for a dialog, the
// dialog and the buttons the keyboard must reach in it.
const screens = [
  { name: 'start screen', open: (page) => page.open(shared.server.url) },
  { name: 'skin editor', open: skinEditor },
  { name: 'splash editor', open: (page) => startEditor(page, shared.server.url, 'Splash Images') },
  ...ELEMENT_EDITORS.map((title) => ({
    name: title, opener: button(title), dialog: elementEditorDialog, reach: ['Load Image', 'Transparent Color', 'OK'],
    open: skinEditor,
  })),
  { name: 'colour chooser', dialog: chooser, reach: ['OK', 'Cancel'],
    async open(page) {
      await skinEditor(page);
      await elementEditor(page, 'Edit Title and Event Bar');
    },
    opener: button('Transparent Color', role('group', 'Title Bar', elementEditorDialog)) },
  { name: 'question on Exit', dialog: message, reach: ['Yes', 'No', 'Cancel'], opener: button('Exit'),
    async open(page) {
      await skinEditor(page);
      await page.check(role('radio', '8 bit / 256 colors'));
      await page.waitFor(heading(/^untitled\.pdb\* - /));
    } },
  { name: 'message', dialog: message, reach: ['OK'], opener: button('Save as...'),
    async open(page) {
      await skinEditor(page);
      // A name prompt answered, and the message about the save.
      await page.click(button('Save as...'));
      await page.type(role('textbox', 'File name', dialog('ask-name')), 'Named.pdb');
      await page.key('Enter');
      await page.waitFor(message);
    } },
  { name: 'name prompt', dialog: dialog('ask-name'), reach: ['OK', 'Cancel'], opener: button('Save as...'), open: skinEditor },
  { name: 'About', dialog: dialog('about'), reach: ['OK'], opener: button('About Corvane Desktop'), open: skinEditor },
  // The offer shows once a new version is installed (the update test has
  // that); here it is only looked at.
  { name: 'update offer', async open(page) {
    await page.open(shared.server.url);
    await page.evaluate(() => { document.getElementById('update').hidden = false; });
    await page.waitFor(css('#update'));
  } },
];

for (const screen of screens) {
  test(`${screen.name}: axe finds nothing${screen.dialog ? ', and the keyboard alone walks it' : ''}`, async () => {
    const page = shared.browser;
    await screen.open(page);
    if (screen.dialog) {
      // Opened by its button (Firefox's driver gives a focused button's
      // Enter no click), then walked and closed by the keyboard alone.
      if (await page.count(screen.dialog) === 0) await page.click(screen.opener);
      await page.waitFor(screen.dialog);
    }
    assert.deepEqual(await violations(page), []);
    if (!screen.dialog) return;

    // Tab goes round the dialog's controls, back to where it began, and never
    // reaches the page behind it (between rounds the browser's own controls
    // may hold the focus).
    const inside = screen.dialog.css.match(/#([\w-]+)/)[1];
    const focused = () => page.evaluate(() => {
      const now = document.activeElement;
      if (!now || now === document.body) return { dialog: null, text: '' };
      now.dataset.tabbed ??= String((window.tabbed = (window.tabbed ?? 0) + 1));
      return { dialog: now.closest('dialog')?.id ?? 'the page', text: now.textContent.trim(), id: now.dataset.tabbed };
    });
    // Where the dialog puts the focus on opening counts as reached.
    const reached = [await focused()];
    assert.equal(reached[0].dialog, inside, 'the dialog has the focus');
    for (let i = 0; i < 200; i++) {
      await page.key('Tab');
      const where = await focused();
      // A busy Firefox may not have moved yet: the next Tab does.
      if (where.dialog === null || where.id === reached.at(-1).id) continue;
      assert.equal(where.dialog, inside, `Tab ${i + 1} stays in the dialog`);
      if (reached.some((r) => r.id === where.id)) break;
      reached.push(where);
    }
    const names = new Set(reached.map((r) => r.text));
    for (const name of screen.reach) assert.ok(names.has(name), `${name} is reached (reached: ${[...names].join(' | ')})`);
    // Esc closes it (a question's Esc is its Cancel).
    await page.key('Escape');
    await page.until((id) => !document.getElementById(id).open, inside, 'the dialog to close');
    assert.deepEqual(await page.errors(), []);
  });
}

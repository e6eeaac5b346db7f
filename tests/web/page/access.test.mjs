// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every control of every screen and dialog has a name as the browser's
// accessibility tree computes it, and the keyboard alone reaches the
// controls of the screen in front.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, servedBrowser } from './harness.mjs';
import { button, elementEditor, startEditor } from './actions.mjs';

const CONTROLS = new Set(['button', 'radio', 'checkbox', 'combobox', 'textbox', 'link', 'slider', 'image', 'dialog', 'group']);

// Controls without a name, in the part of the page now shown.
async function unnamed(page) {
  const cdp = await page.context().newCDPSession(page);
  try {
    const { nodes } = await cdp.send('Accessibility.getFullAXTree');
    return nodes
      .filter((n) => !n.ignored && CONTROLS.has(n.role?.value) && !n.name?.value?.trim())
      .map((n) => `${n.role.value} #${n.backendDOMNodeId}`);
  } finally {
    await cdp.detach();
  }
}

// Tabs through the page and collects the names of the buttons reached.
async function tabbedTo(page, count) {
  const reached = new Set();
  for (let i = 0; i < count; i++) {
    await page.keyboard.press('Tab');
    reached.add(await page.evaluate(() => document.activeElement?.textContent?.trim()));
  }
  return reached;
}

const shared = servedBrowser();

const screens = [
  { name: 'start screen', open: async () => {} },
  { name: 'skin editor', open: (page) => startEditor(page, 'Phone Application Skins'), reach: ['Open Skin', 'Edit Keypad Text', 'Exit'] },
  ...['Edit Keypad Buttons', 'Edit Keypad Text', 'Edit Speed Dial Buttons', 'Edit Title and Event Bar'].map((title) => ({
    name: title,
    open: async (page) => { await startEditor(page, 'Phone Application Skins'); await elementEditor(page, title); },
    reach: ['Load Image', 'Transparent Color', 'OK'],
  })),
  { name: 'colour chooser',
    open: async (page) => {
      await startEditor(page, 'Phone Application Skins');
      const dialog = await elementEditor(page, 'Edit Title and Event Bar');
      await button(dialog, 'Transparent Color').first().click();
    },
    reach: ['OK', 'Cancel'] },
  { name: 'splash editor', open: (page) => startEditor(page, 'Splash Images'), reach: ['Load Welcome Image', 'Open Splash File', 'Exit'] },
];

for (const screen of screens) {
  test(`${screen.name}: every control named and reached by Tab`, async () => {
    const { page } = shared.browser;
    await openPage(page, shared.server.url);
    await screen.open(page);
    assert.deepEqual(await unnamed(page), []);
    const reached = await tabbedTo(page, 80);
    for (const name of screen.reach ?? []) assert.ok(reached.has(name), `${name} is reached`);
  });
}

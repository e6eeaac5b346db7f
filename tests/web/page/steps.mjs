// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Steps a user takes on the page, over driver.mjs, in the words of the
// page's controls.
import { readdirSync } from 'node:fs';
import path from 'node:path';
import { button, css, dialog, heading, role } from './driver.mjs';

export const TITLE = ' - Corvane Desktop for Treo 650/700p';
export const message = dialog('message');

// Waits for the message box, closes it with its first button (or `answer`),
// and returns its caption and text.
export async function closeMessage(page, answer) {
  const caption = await page.text(css('.caption', message));
  const text = await page.text(css('.text', message));
  await page.click(answer ? button(answer, message) : css('.buttons button', message));
  await page.waitGone(message);
  return { caption, text };
}

// Opens the page and one of its editors: 'Phone Application Skins' or 'Splash Images'.
export async function startEditor(page, url, which) {
  await page.open(url);
  await page.click(button(which));
  await page.waitFor(heading(/^untitled\.pdb - /));
}

export const elementEditorDialog = dialog('element-editor');
export const chooser = dialog('chooser');

// Opens an element editor of the skin editor by its button.
export async function elementEditor(page, title) {
  await page.click(button(title));
  await page.waitFor(heading(title, elementEditorDialog));
}

// Waits until the command running on the skin editor has finished.
export const settled = (page) => page.waitFor(css('#skin:not([aria-busy])'));

// Saves under `name` through the page's own name prompt (no File System Access).
export async function saveAs(page, name) {
  await page.click(button('Save as...'));
  await page.type(role('textbox', 'File name', dialog('ask-name')), name);
  await page.click(button('OK', dialog('ask-name')));
}

// A bitmap set into the skin editor, the three ways a user brings one.
const picturesIn = (folder) => readdirSync(folder).map((name) => path.join(folder, name));
export const importBitmaps = {
  async folder(page, folder) {
    await page.choose(() => page.click(button('Import Bitmaps...')), [], { folder });
    await settled(page);
  },
  async files(page, folder) {
    await page.choose(() => page.click(button('Import Bitmaps (files)...')), picturesIn(folder));
    await settled(page);
  },
  async drop(page, folder) {
    await page.drop(css('#skin'), picturesIn(folder));
    await settled(page);
  },
};

// Closes the message in front with OK when another follows at once (a
// command's messages come in turn); returns the text of the one closed.
export async function closeMessageBeforeNext(page) {
  const text = await page.text(css('.text', message));
  await page.click(button('OK', message));
  await page.until((t) => document.querySelector('#message[open] .text')?.textContent !== t, text, 'the next message');
  return text;
}

// A colour as a 16-bit skin stores it (5-6-5, the low bits dropped), as
// '#RRGGBB', from its red, green and blue.
export const stored16 = ([r, g, b]) =>
  `#${[r & 0xf8, g & 0xfc, b & 0xf8].map((v) => v.toString(16).padStart(2, '0')).join('')}`.toUpperCase();

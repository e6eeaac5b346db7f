// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a user does on the page, in the words of the page's controls, so the
// tests read as the steps they take.
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { choose } from './harness.mjs';

export const button = (scope, name) => scope.getByRole('button', { name, exact: true });

export async function startEditor(page, which) {
  await button(page, which).click();
  await page.getByRole('heading', { name: /^untitled\.pdb - / }).waitFor();
}

// Waits for the next message box and closes it with its first button;
// returns its caption and text.
export async function closeMessage(page, answer) {
  const box = page.locator('dialog#message[open]');
  await box.waitFor();
  const message = {
    caption: await box.locator('.caption').textContent(),
    text: await box.locator('.text').textContent(),
    details: await box.locator('.details').textContent(),
  };
  await (answer ? button(box, answer) : box.locator('.buttons button').first()).click();
  await box.waitFor({ state: 'hidden' });
  return message;
}

// Waits until the command running on the skin editor has finished.
export const settled = (page) => page.locator('#skin:not([aria-busy])').waitFor();

export async function importBitmapFolder(page, folder) {
  await choose(page, () => button(page, 'Import Bitmaps...').click(), folder);
  await settled(page);
}

export async function importBitmapFiles(page, folder) {
  const files = readdirSync(folder).map((name) => path.join(folder, name));
  await choose(page, () => button(page, 'Import Bitmaps (files)...').click(), files);
  await settled(page);
}

// Saves under `name` through the page's own name prompt (no File System Access).
export async function saveAs(page, name) {
  await button(page, 'Save as...').click();
  const prompt = page.locator('dialog#ask-name[open]');
  await prompt.getByRole('textbox', { name: 'File name' }).fill(name);
  await button(prompt, 'OK').click();
}

// Opens an element editor and returns its dialog.
export async function elementEditor(page, title) {
  await button(page, title).click();
  const dialog = page.locator('dialog#element-editor[open]');
  await dialog.getByRole('heading', { name: title }).waitFor();
  return dialog;
}

// The pixels of a canvas as a Buffer of RGBA.
export async function canvasPixels(canvas) {
  return Buffer.from(await canvas.evaluate((c) => [...c.getContext('2d').getImageData(0, 0, c.width, c.height).data]));
}

// Drops files on `target` as a user's drag from the desktop would: each
// {name, bytes: Buffer}, or {name, size} for a file of that many zero bytes
// made in the browser.
export async function dropFiles(target, files) {
  const transfer = await target.page().evaluateHandle((files) => {
    const t = new DataTransfer();
    for (const { name, data, size } of files)
      t.items.add(new File([size === undefined ? new Uint8Array(data) : new ArrayBuffer(size)], name));
    return t;
  }, files.map(({ name, bytes, size }) => ({ name, data: bytes ? [...bytes] : [], size })));
  await target.dispatchEvent('dragover', { dataTransfer: transfer });
  await target.dispatchEvent('drop', { dataTransfer: transfer });
}

export const dropFile = (target, file) => dropFiles(target, [file]);

// The pictures of a bitmap set dropped on the skin editor.
export async function importBitmapDrop(page, folder) {
  const files = readdirSync(folder).map((name) => ({ name, bytes: readFileSync(path.join(folder, name)) }));
  await dropFiles(page.locator('#skin'), files);
  await settled(page);
}

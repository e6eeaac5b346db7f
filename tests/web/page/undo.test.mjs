// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Load Image through the picker, in each kind of picture the page reads: the
// element shows the tool's reduction of it, and Ctrl+Z and Ctrl+Shift+Z take
// it back and bring it again, title and previews included.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { rmSync } from 'node:fs';
import path from 'node:path';
import { choose, corvane, inBrowser, openPage, serve, temporaryFolder } from './harness.mjs';
import { button, canvasPixels, elementEditor, startEditor } from './actions.mjs';

let work;
let server;
before(async () => {
  work = temporaryFolder('corvane-web-undo-');
  server = await serve();
});
after(async () => {
  await server?.stop();
  if (work) rmSync(work, { recursive: true, force: true });
});

// PNG and JPEG are decoded by the browser, BMP and netpbm by the core.
const kinds = ['png', 'jpg', 'bmp', 'ppm'];

// The picture as the element shows it at 16 bits, from the tool, as RGB.
function toolReduction(picture) {
  const resource = path.join(work, 'picture.res');
  corvane('bitmap', 'encode', picture, '--depth', '16', '-o', resource);
  const decoded = path.join(work, 'picture.ppm');
  corvane('bitmap', 'decode', resource, '-o', decoded);
  return execFileSync('convert', [decoded, '-depth', '8', 'rgb:-']);
}

const rgbOf = (rgba) => Buffer.from(rgba.filter((_, i) => i % 4 !== 3));

for (const kind of kinds) {
  test(`Load Image of a .${kind}, then undo and redo`, async () => {
    await inBrowser(async (browser) => {
      const { page } = browser;
      await openPage(page, server.url);
      await startEditor(page, 'Phone Application Skins');
      const released = page.locator('#preview-released');
      const previewBefore = await canvasPixels(released);

      let dialog = await elementEditor(page, 'Edit Keypad Buttons');
      const picture = () => dialog.locator('canvas[data-element="dialbutton"]');
      const before = await canvasPixels(picture());
      const { width, height } = await picture().evaluate((c) => ({ width: c.width, height: c.height }));
      const file = path.join(work, `plasma.${kind}`);
      execFileSync('convert', ['-size', `${width}x${height}`, '-seed', '7', 'plasma:red-blue', '-depth', '8', file]);
      await choose(page, () => button(dialog.getByRole('group', { name: 'Button normal' }), 'Load Image').click(), file);
      await page.waitForFunction(([w, h, b]) => {
        const c = document.querySelector('dialog[open] canvas[data-element="dialbutton"]');
        return [...c.getContext('2d').getImageData(0, 0, w, h).data].some((v, i) => v !== b[i]);
      }, [width, height, [...before]]);
      const loaded = await canvasPixels(picture());
      assert.ok(rgbOf(loaded).equals(toolReduction(file)), 'the same reduction as the tool');
      await button(dialog, 'OK').click();
      await page.getByRole('heading', { name: /^untitled\.pdb\* - / }).waitFor();
      const previewLoaded = await canvasPixels(released);
      assert.ok(!previewLoaded.equals(previewBefore), 'the preview shows the new picture');

      await page.keyboard.press('Control+Z');
      await page.getByRole('heading', { name: /^untitled\.pdb - / }).waitFor();
      assert.ok((await canvasPixels(released)).equals(previewBefore), 'undo restores the preview');
      dialog = await elementEditor(page, 'Edit Keypad Buttons');
      assert.ok((await canvasPixels(picture())).equals(before), 'undo restores the picture');
      await button(dialog, 'OK').click();

      await page.keyboard.press('Control+Shift+Z');
      await page.getByRole('heading', { name: /^untitled\.pdb\* - / }).waitFor();
      assert.ok((await canvasPixels(released)).equals(previewLoaded), 'redo brings the picture back');
      assert.deepEqual(browser.errors, []);
    });
  });
}

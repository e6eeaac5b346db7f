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
import { corvane, temporaryFolder } from './harness.mjs';
import { button, css, dialog, heading, role, servedPage } from './driver.mjs';
import { startEditor } from './steps.mjs';

const shared = servedPage();
let work;
before(() => {
  work = temporaryFolder('corvane-web-undo-');
});
after(() => {
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

const editor = dialog('element-editor');
const picture = css('canvas[data-element="dialbutton"]', editor);
const released = css('#preview-released');

async function keypadButtons(page) {
  await page.click(button('Edit Keypad Buttons'));
  await page.waitFor(heading('Edit Keypad Buttons', editor));
}

for (const kind of kinds) {
  test(`Load Image of a .${kind}, then undo and redo`, async () => {
    const page = shared.browser;
    await startEditor(page, shared.server.url, 'Phone Application Skins');
    const previewBefore = await page.pixels(released);

    await keypadButtons(page);
    const before = await page.pixels(picture);
    const [width, height] = [await page.attribute(picture, 'width'), await page.attribute(picture, 'height')];
    const file = path.join(work, `plasma.${kind}`);
    execFileSync('convert', ['-size', `${width}x${height}`, '-seed', '7', 'plasma:red-blue', '-depth', '8', file]);
    await page.choose(() => page.click(button('Load Image', role('group', 'Button normal', editor))), file);
    await page.until((b) => {
      const c = document.querySelector('dialog[open] canvas[data-element="dialbutton"]');
      return window.__driver.base64(c.getContext('2d').getImageData(0, 0, c.width, c.height).data) !== b;
    }, before.toString('base64'), 'the loaded picture');
    const loaded = await page.pixels(picture);
    assert.ok(rgbOf(loaded).equals(toolReduction(file)), 'the same reduction as the tool');
    await page.click(button('OK', editor));
    await page.waitFor(heading(/^untitled\.pdb\* - /));
    const previewLoaded = await page.pixels(released);
    assert.ok(!previewLoaded.equals(previewBefore), 'the preview shows the new picture');

    await page.key('Control+z');
    await page.waitFor(heading(/^untitled\.pdb - /));
    assert.ok((await page.pixels(released)).equals(previewBefore), 'undo restores the preview');
    await keypadButtons(page);
    assert.ok((await page.pixels(picture)).equals(before), 'undo restores the picture');
    await page.click(button('OK', editor));
    await page.waitGone(editor);

    await page.key('Control+Shift+z');
    await page.waitFor(heading(/^untitled\.pdb\* - /));
    assert.ok((await page.pixels(released)).equals(previewLoaded), 'redo brings the picture back');
    assert.deepEqual(await page.errors(), []);
  });
}

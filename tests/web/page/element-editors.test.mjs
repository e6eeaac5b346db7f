// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The element editors as a user meets them: the share chooser shows the
// picture whose colour it hands out, the chooser's OK without a pick changes
// nothing and its swatch is named with its colour, and the editor's undo and
// redo keys work inside them as on the desktop.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { rmSync } from 'node:fs';
import path from 'node:path';
import { temporaryFolder } from './harness.mjs';
import { button, css, dialog, heading, role, servedPage } from './driver.mjs';
import { stored16 } from './steps.mjs';

const shared = servedPage();
let work;
before(() => {
  work = temporaryFolder('corvane-web-elements-');
});
after(() => {
  if (work) rmSync(work, { recursive: true, force: true });
});

const editorDialog = dialog('element-editor');
const chooser = dialog('chooser');

async function elementEditor(page, title) {
  await page.open(shared.server.url);
  await page.click(button('Phone Application Skins'));
  await page.waitFor(heading(/^untitled\.pdb - /));
  await page.click(button(title));
  await page.waitFor(heading(title, editorDialog));
}

// The picture of a slot: the canvas in the element's group (and column).
const slotPicture = (group, column) => {
  const inGroup = role('group', group, editorDialog);
  return css('canvas', column ? role('group', column, inGroup) : inGroup);
};

const rgbAt = (rgba, width, x, y) => {
  const i = (y * width + x) * 4;
  return `#${[rgba[i], rgba[i + 1], rgba[i + 2]].map((v) => v.toString(16).padStart(2, '0')).join('')}`.toUpperCase();
};

test('the keypad labels\' shared colour is picked on the picture of key "0", which the chooser shows', async () => {
  const page = shared.browser;
  await elementEditor(page, 'Edit Keypad Text');
  const zero = await page.pixels(slotPicture('0', 'Normal:'));
  const one = await page.pixels(slotPicture('1', 'Normal:'));
  assert.ok(!zero.equals(one), 'the labels of "0" and "1" differ');

  await page.click(button('Choose Transparent Color for all Images', editorDialog));
  await page.waitFor(chooser);
  const shown = await page.pixels(css('canvas', chooser));
  assert.ok(shown.equals(zero), 'the chooser shows key "0"');

  // The swatch shows the colour of key "0" where the click landed.
  const width = Number(await page.attribute(css('canvas', chooser), 'width'));
  const [x, y] = [Math.floor(width / 2), 3];
  await page.click(css('canvas', chooser), { x: x * 4 + 2, y: y * 4 + 2 });
  const picked = await page.attribute(css('.swatch', chooser), 'data-colour');
  assert.equal(picked.toUpperCase(), rgbAt(zero, width, x, y));
  await page.click(button('Cancel', chooser));
  await page.waitGone(chooser);
  assert.deepEqual(await page.errors(), []);
});

test('OK in the chooser without a pick changes nothing; a pick is outlined and names the swatch with its colour', async () => {
  const page = shared.browser;
  await elementEditor(page, 'Edit Title and Event Bar');
  const transparent = button('Transparent Color', role('group', 'Title Bar', editorDialog));
  await page.click(transparent);
  await page.waitFor(chooser);
  await page.click(button('OK', chooser));
  await page.waitGone(chooser);
  await page.click(button('OK', editorDialog));
  await page.waitGone(editorDialog);
  await page.waitFor(heading(/^untitled\.pdb - /));
  assert.ok(await page.disabled(button('Undo', css('#skin'))), 'nothing to undo');

  await page.click(button('Edit Title and Event Bar'));
  await page.click(transparent);
  const shown = await page.pixels(css('canvas', chooser));
  const width = Number(await page.attribute(css('canvas', chooser), 'width'));
  const [x, y] = [5, 2];
  await page.click(css('canvas', chooser), { x: x * 4 + 2, y: y * 4 + 2 });
  await page.waitFor(role('img', `Chosen color: ${rgbAt(shown, width, x, y)}`, chooser));
  assert.deepEqual(await page.evaluate(() => {
    const marker = document.querySelector('#chooser .cursor');
    return marker.hidden ? null : [marker.offsetLeft, marker.offsetTop];
  }), [x * 4, y * 4], 'the picked pixel is outlined');
  await page.click(button('Cancel', chooser));
  await page.waitGone(chooser);
  assert.deepEqual(await page.errors(), []);
});

const undoKeys = [
  { undo: 'Control+z', redo: 'Control+Shift+z' },
  { undo: 'Control+z', redo: 'Control+y' },
];

test('Ctrl+Z takes back a picture loaded in an element editor, Ctrl+Shift+Z and Ctrl+Y bring it again', async () => {
  const page = shared.browser;
  await elementEditor(page, 'Edit Title and Event Bar');
  const slot = slotPicture('Title Bar');
  const before = await page.pixels(slot);
  const [width, height] = [await page.attribute(slot, 'width'), await page.attribute(slot, 'height')];
  const picture = path.join(work, 'title.bmp');
  execFileSync('convert', ['-size', `${width}x${height}`, '-seed', '7', 'plasma:', '-type', 'TrueColor', `BMP3:${picture}`]);
  await page.choose(() => page.click(button('Load Image', role('group', 'Title Bar', editorDialog))), picture);
  const state = async () => ((await page.pixels(slot)).equals(before) ? 'as before' : 'loaded');
  const settle = async (want) => {
    // A command's result is drawn a frame or so after the key; 200 frames is plenty.
    for (let frames = 0; frames < 200 && (await state()) !== want; frames++) await page.evaluate(() => new Promise(requestAnimationFrame));
    return state();
  };
  assert.equal(await settle('loaded'), 'loaded', 'the loaded picture is shown');
  for (const keys of undoKeys) {
    await page.key(keys.undo);
    assert.equal(await settle('as before'), 'as before', `${keys.undo} takes the picture back`);
    await page.key(keys.redo);
    assert.equal(await settle('loaded'), 'loaded', `${keys.redo} brings it again`);
  }
  assert.deepEqual(await page.errors(), []);
});

test('each picture shows its transparent colour in a swatch named with it, the colour as the skin stores it', async () => {
  const page = shared.browser;
  await elementEditor(page, 'Edit Title and Event Bar');
  const group = role('group', 'Title Bar', editorDialog);
  await page.waitFor(role('img', /^Transparent color: #[0-9A-F]{6}$/, group));
  await page.click(button('Transparent Color', group));
  await page.waitFor(chooser);
  const shown = await page.pixels(css('canvas', chooser));
  const width = Number(await page.attribute(css('canvas', chooser), 'width'));
  const [x, y] = [37, 12];
  const i = (y * width + x) * 4;
  const expected = stored16(shown.subarray(i, i + 3));
  await page.click(css('canvas', chooser), { x: x * 4 + 2, y: y * 4 + 2 });
  await page.waitFor(role('img', `Chosen color: ${expected}`, chooser));
  await page.click(button('OK', chooser));
  await page.waitGone(chooser);
  await page.waitFor(role('img', `Transparent color: ${expected}`, group));
  await page.click(button('OK', editorDialog));
  assert.deepEqual(await page.errors(), []);
});

test('the zoom enlarges the element editors\' pictures; the chooser\'s cursor shows at once and its focus ring is not clipped', async () => {
  const page = shared.browser;
  await page.open(shared.server.url);
  await page.click(button('Phone Application Skins'));
  await page.select(role('combobox', 'Zoom'), '3');
  await page.click(button('Edit Title and Event Bar'));
  const picture = slotPicture('Title Bar');
  const drawn = await page.evaluate((s) => {
    const canvas = document.querySelector(s);
    return { width: canvas.width, shown: canvas.getBoundingClientRect().width };
  }, await page.waitFor(picture));
  // The dotted border adds a pixel each side.
  assert.equal(drawn.shown, drawn.width * 3 + 2, 'three screen pixels to a picture pixel');

  await page.click(button('Transparent Color', role('group', 'Title Bar', editorDialog)));
  await page.waitFor(chooser);
  // The keyboard comes back to the picture: its ring is the keyboard's.
  await page.key('Tab');
  await page.key('Shift+Tab');
  const seen = await page.until(() => {
    const canvas = document.querySelector('#chooser canvas');
    const frame = canvas.closest('.enlarged');
    const marker = document.querySelector('#chooser .cursor');
    if (document.activeElement !== canvas || marker.hidden) return null;
    // Whatever ring the engine draws (none in a headless Firefox, whose
    // window never has the system's focus).
    const style = getComputedStyle(canvas);
    const ring = style.outlineStyle === 'none' ? 0 : parseFloat(style.outlineWidth) + parseFloat(style.outlineOffset);
    const inner = canvas.getBoundingClientRect();
    const room = frame.getBoundingClientRect();
    const frameStyle = getComputedStyle(frame);
    return {
      ringInside: inner.left - ring >= room.left + parseFloat(frameStyle.borderLeftWidth) &&
        inner.top - ring >= room.top + parseFloat(frameStyle.borderTopWidth),
      cursor: [marker.offsetLeft, marker.offsetTop],
    };
  }, null, 'the chooser\'s picture to have the focus and the cursor');
  assert.deepEqual(seen, { ringInside: true, cursor: [0, 0] });
  await page.key('Escape');
  await page.waitGone(chooser);
  assert.deepEqual(await page.errors(), []);
});

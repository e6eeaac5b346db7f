// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin editor against the command-line tool: a skin made on the page from
// a bitmap set is byte for byte the tool's, and the previews of a skin the
// tool made are its preview, pixel for pixel.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { choose, corvane, downloadOf, inBrowser, openPage, serve, temporaryFolder, testData, withoutDates } from './harness.mjs';
import { button, canvasPixels, closeMessage, elementEditor, importBitmapDrop, importBitmapFolder, importBitmapFiles, saveAs,
  startEditor } from './actions.mjs';

// The tool writes a skin at its own depth; the editor at the depth chosen.
const depthRadio = (depth) => (depth === 8 ? '8 bit / 256 colors' : '16 bit / 65.536 colors');

let work;
let server;
before(async () => {
  work = temporaryFolder('corvane-web-skin-');
  const at = (name) => path.join(work, name);
  // A skin whose 24 key pictures are all different: the default dial over a gradient.
  execFileSync('convert', ['-size', '306x184', 'gradient:#3060c0-#f0d080', at('sky.png')]);
  corvane('skin', 'new', '--depth', '16', '-o', at('Default.pdb'));
  corvane('skin', 'background', at('Default.pdb'), at('sky.png'), '-o', at('Sky16.pdb'));
  corvane('skin', 'extract', at('Sky16.pdb'), '-o', at('set'));
  // Pictures whose neighbouring pixels differ, so that a pick one pixel off shows.
  for (const [element, seed] of [['schighlighted', 1], ['titlebar', 2], ['dialbuttonpressed', 3]]) {
    const file = at(`set/${element}.bmp`);
    const size = execFileSync('identify', ['-format', '%wx%h', file]).toString();
    execFileSync('convert', ['-size', size, '-seed', String(seed), 'plasma:', '-type', 'TrueColor', `BMP3:${file}`]);
  }
  corvane('skin', 'build', at('set'), '--depth', '8', '-o', at('Sky8.pdb'));
  server = await serve();
});
after(async () => {
  await server?.stop();
  if (work) rmSync(work, { recursive: true, force: true });
});

// The colour at (x, y) of a set's picture, as RRGGBB, read by ImageMagick.
const pixelOf = (file, x, y) =>
  execFileSync('convert', [file, '-format', `%[hex:p{${x},${y}}]`, 'info:']).toString().trim().slice(0, 6);

// The colour as a slot of `depth` holds it, by the tool: a one-pixel picture
// encoded at that depth and decoded again.
function reduced(colour, depth) {
  const pixel = path.join(work, 'pixel.ppm');
  execFileSync('convert', ['-size', '1x1', `xc:#${colour}`, pixel]);
  corvane('bitmap', 'encode', pixel, '--depth', String(depth), '-o', `${pixel}.res`);
  corvane('bitmap', 'decode', `${pixel}.res`, '-o', pixel);
  return pixelOf(pixel, 0, 0);
}

const makes = [
  { depth: 8, editor: 'Edit Keypad Text', group: '5', column: 'Normal:', element: '5', at: [9, 2], importing: importBitmapFolder },
  { depth: 16, editor: 'Edit Speed Dial Buttons', group: 'Button selected', element: 'schighlighted', at: [10, 2], importing: importBitmapFiles },
  { depth: 16, editor: 'Edit Title and Event Bar', group: 'Title Bar', element: 'titlebar', at: [100, 5], importing: importBitmapDrop },
  // Picked with the keyboard: the arrows move from the top-left pixel, Space picks.
  { depth: 8, editor: 'Edit Keypad Buttons', group: 'Button pressed', element: 'dialbuttonpressed', at: [5, 3], keys: true, importing: importBitmapFiles },
];

for (const make of makes) {
  test(`a ${make.depth}-bit skin from a bitmap set, "${make.element}" see-through where clicked, is the tool's`, async () => {
    await inBrowser(async (browser) => {
      const { page } = browser;
      await openPage(page, server.url);
      await startEditor(page, 'Phone Application Skins');
      await make.importing(page, path.join(work, 'set'));
      await page.getByRole('heading', { name: /^untitled\.pdb\* - / }).waitFor();
      await page.getByRole('radio', { name: depthRadio(make.depth) }).check();

      const [x, y] = make.at;
      const picture = path.join(work, 'set', `${make.element}.bmp`);
      const colour = pixelOf(picture, x, y);
      for (const [dx, dy] of [[1, 0], [-1, 0], [0, 1], [0, -1]])
        assert.notEqual(pixelOf(picture, x + dx, y + dy), colour, 'the picked pixel stands out from its neighbours');

      const dialog = await elementEditor(page, make.editor);
      let slot = dialog.getByRole('group', { name: make.group, exact: true });
      if (make.column) slot = slot.getByRole('group', { name: make.column });
      await button(slot, 'Transparent Color').click();
      const chooser = page.locator('dialog#chooser[open]');
      if (make.keys) {
        await chooser.locator('canvas').focus();
        for (const [key, times] of [['ArrowRight', x], ['ArrowDown', y]]) for (let i = 0; i < times; i++) await page.keyboard.press(key);
        await page.keyboard.press('Space');
      } else {
        // Anywhere inside the pixel's 4 by 4 block picks it.
        await chooser.locator('canvas').click({ position: { x: x * 4 + 3, y: y * 4 + 1 } });
      }
      await button(chooser, 'OK').click();
      await button(dialog, 'OK').click();
      // The tool knows the colours before it loads the pictures, and a picture
      // loaded under a transparent colour keeps its other pixels off it; so
      // the set goes in once more, as after editing the bitmaps.
      await make.importing(page, path.join(work, 'set'));

      const saved = await downloadOf(page, async () => {
        await saveAs(page, 'Sky.pdb');
        assert.equal((await closeMessage(page)).text, 'Skin saved successfully.');
      });
      assert.equal(saved.name, 'Sky.pdb');
      await page.getByRole('heading', { name: 'Sky.pdb - Corvane Desktop for Treo 650/700p' }).waitFor();

      const colours = path.join(work, 'colours.txt');
      writeFileSync(colours, `${make.element}.bmp ${reduced(colour, make.depth)}\n`);
      const expected = path.join(work, `tool-${make.element}`, 'Sky.pdb');
      mkdirSync(path.dirname(expected));
      corvane('skin', 'build', path.join(work, 'set'), '--depth', String(make.depth), '--transparent-from', colours, '-o', expected);
      assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(expected))), 'the same bytes as the tool writes');
      assert.deepEqual(browser.errors, []);
    });
  });
}

// The released preview is the tool's Export Preview picture.
const previewRGB = (bmp) => execFileSync('convert', [bmp, '-depth', '8', 'rgb:-']);

for (const [skin, depth] of [['Sky16.pdb', 16], ['Sky8.pdb', 8], [path.join(testData, 'skin/golden.pdb'), 16]]) {
  test(`the preview of ${path.basename(skin)} at ${depth} bits is the tool's, pixel for pixel`, async () => {
    const file = path.isAbsolute(skin) ? skin : path.join(work, skin);
    const name = path.basename(file, '.pdb');
    const folder = path.join(work, `preview-${name}`);
    corvane('skin', 'preview', file, '-o', folder);
    await inBrowser(async (browser) => {
      const { page } = browser;
      await openPage(page, server.url);
      await startEditor(page, 'Phone Application Skins');
      await choose(page, () => button(page, 'Open Skin').click(), file);
      await page.getByRole('heading', { name: `${name}.pdb - Corvane Desktop for Treo 650/700p` }).waitFor();
      await page.getByRole('radio', { name: depthRadio(depth) }).check();
      const rgba = await canvasPixels(page.locator('#preview-released'));
      const rgb = Buffer.from(rgba.filter((_, i) => i % 4 !== 3));
      assert.ok(rgb.equals(previewRGB(path.join(folder, `${name}-preview.bmp`))), 'the same pixels');
    });
  });
}

test('Export Bitmaps gives the tool\'s bitmap set as one zip', async () => {
  await inBrowser(async (browser) => {
    const { page } = browser;
    await openPage(page, server.url);
    await startEditor(page, 'Phone Application Skins');
    await choose(page, () => button(page, 'Open Skin').click(), path.join(work, 'Sky16.pdb'));
    await page.getByRole('heading', { name: 'Sky16.pdb - Corvane Desktop for Treo 650/700p' }).waitFor();
    const zip = await downloadOf(page, () => button(page, 'Export Bitmaps...').click());
    assert.equal(zip.name, 'Sky16.zip');
    const archive = path.join(work, 'Sky16.zip');
    writeFileSync(archive, zip.bytes);
    const unpacked = path.join(work, 'unzipped');
    execFileSync('unzip', ['-q', archive, '-d', unpacked]);
    const expected = path.join(work, 'extracted');
    corvane('skin', 'extract', path.join(work, 'Sky16.pdb'), '-o', expected);
    const names = readdirSync(expected).sort();
    assert.equal(names.length, 35);
    assert.deepEqual(readdirSync(unpacked).sort(), names);
    for (const name of names)
      assert.ok(readFileSync(path.join(unpacked, name)).equals(readFileSync(path.join(expected, name))), name);
  });
});

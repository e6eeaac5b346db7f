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
import { corvane, temporaryFolder, testData, withoutDates } from './harness.mjs';
import { button, css, heading, role, servedPage } from './driver.mjs';
import { TITLE, chooser, closeMessage, elementEditor, elementEditorDialog, importBitmaps, saveAs, startEditor } from './steps.mjs';

// The tool writes a skin at its own depth; the editor at the depth chosen.
const depthRadio = (depth) => (depth === 8 ? '8 bit / 256 colors' : '16 bit / 65.536 colors');

const shared = servedPage();
let work;
before(() => {
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
});
after(() => {
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
  { depth: 8, editor: 'Edit Keypad Text', group: '5', column: 'Normal:', element: '5', at: [9, 2], importing: importBitmaps.folder },
  { depth: 16, editor: 'Edit Speed Dial Buttons', group: 'Button selected', element: 'schighlighted', at: [10, 2], importing: importBitmaps.files },
  { depth: 16, editor: 'Edit Title and Event Bar', group: 'Title Bar', element: 'titlebar', at: [100, 5], importing: importBitmaps.drop },
  // Picked with the keyboard: the arrows move from the top-left pixel, Space picks.
  { depth: 8, editor: 'Edit Keypad Buttons', group: 'Button pressed', element: 'dialbuttonpressed', at: [5, 3], keys: true, importing: importBitmaps.files },
];

for (const make of makes) {
  test(`a ${make.depth}-bit skin from a bitmap set, "${make.element}" see-through where clicked, is the tool's`, async () => {
    const page = shared.browser;
    await startEditor(page, shared.server.url, 'Phone Application Skins');
    await make.importing(page, path.join(work, 'set'));
    await page.waitFor(heading(/^untitled\.pdb\* - /));
    await page.check(role('radio', depthRadio(make.depth)));

    const [x, y] = make.at;
    const picture = path.join(work, 'set', `${make.element}.bmp`);
    const colour = pixelOf(picture, x, y);
    for (const [dx, dy] of [[1, 0], [-1, 0], [0, 1], [0, -1]])
      assert.notEqual(pixelOf(picture, x + dx, y + dy), colour, 'the picked pixel stands out from its neighbours');

    await elementEditor(page, make.editor);
    let slot = role('group', make.group, elementEditorDialog);
    if (make.column) slot = role('group', make.column, slot);
    await page.click(button('Transparent Color', slot));
    const enlarged = css('canvas', chooser);
    if (make.keys) {
      await page.focus(enlarged);
      await page.press('ArrowRight', x);
      await page.press('ArrowDown', y);
      await page.key('Space');
    } else {
      // Anywhere inside the pixel's 4 by 4 block picks it.
      await page.click(enlarged, { x: x * 4 + 3, y: y * 4 + 1 });
    }
    await page.click(button('OK', chooser));
    await page.click(button('OK', elementEditorDialog));
    await page.waitGone(elementEditorDialog);
    // The tool knows the colours before it loads the pictures, and a picture
    // loaded under a transparent colour keeps its other pixels off it; so
    // the set goes in once more, as after editing the bitmaps.
    await make.importing(page, path.join(work, 'set'));

    const saved = await page.download(async () => {
      await saveAs(page, 'Sky.pdb');
      assert.equal((await closeMessage(page)).text, 'Skin saved successfully.');
    });
    assert.equal(saved.name, 'Sky.pdb');
    await page.waitFor(heading(`Sky.pdb${TITLE}`));

    const colours = path.join(work, 'colours.txt');
    writeFileSync(colours, `${make.element}.bmp ${reduced(colour, make.depth)}\n`);
    const expected = path.join(work, `tool-${make.element}`, 'Sky.pdb');
    mkdirSync(path.dirname(expected));
    corvane('skin', 'build', path.join(work, 'set'), '--depth', String(make.depth), '--transparent-from', colours, '-o', expected);
    assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(expected))), 'the same bytes as the tool writes');
    assert.deepEqual(await page.errors(), []);
  });
}

// The released preview is the tool's Export Preview picture.
const previewRGB = (bmp) => execFileSync('convert', [bmp, '-depth', '8', 'rgb:-']);

// Opens a skin file in a fresh skin editor.
async function openSkin(page, file) {
  await startEditor(page, shared.server.url, 'Phone Application Skins');
  await page.choose(() => page.click(button('Open Skin')), file);
  await page.waitFor(heading(`${path.basename(file)}${TITLE}`));
}

for (const [skin, depth] of [['Sky16.pdb', 16], ['Sky8.pdb', 8], [path.join(testData, 'skin/golden.pdb'), 16]]) {
  test(`the preview of ${path.basename(skin)} at ${depth} bits is the tool's, pixel for pixel`, async () => {
    const file = path.isAbsolute(skin) ? skin : path.join(work, skin);
    const name = path.basename(file, '.pdb');
    const folder = path.join(work, `preview-${name}`);
    corvane('skin', 'preview', file, '-o', folder);
    const page = shared.browser;
    await openSkin(page, file);
    await page.check(role('radio', depthRadio(depth)));
    const rgba = await page.pixels(css('#preview-released'));
    const rgb = Buffer.from(rgba.filter((_, i) => i % 4 !== 3));
    assert.ok(rgb.equals(previewRGB(path.join(folder, `${name}-preview.bmp`))), 'the same pixels');
  });
}

test('Export Bitmaps gives the tool\'s bitmap set as one zip', async () => {
  const page = shared.browser;
  await openSkin(page, path.join(work, 'Sky16.pdb'));
  const zip = await page.download(() => page.click(button('Export Bitmaps...')));
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

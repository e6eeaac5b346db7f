// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bitmap sets as zip archives, both ways through the core: Export Bitmaps
// downloads one zip that two independent readers take whole (Python's
// zipfile, which verifies every CRC, and Info-ZIP's unzip), holding the
// tool's set; that zip and one made with `zip` come back in, by drop and by
// picker, as the tool builds the set; and archives that would lead out of
// the set or past the memory budget are refused whole with the core's reason.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { corvane, temporaryFolder, withoutDates } from './harness.mjs';
import { button, css, dialog, heading, role, servedPage } from './driver.mjs';
import { TITLE, closeMessage, message, startEditor } from './steps.mjs';

const shared = servedPage();
let work;
const at = (name) => path.join(work, name);
before(() => {
  work = temporaryFolder('corvane-web-zip-');
  execFileSync('convert', ['-size', '306x184', 'gradient:#3060c0-#f0d080', at('sky.png')]);
  corvane('skin', 'new', '--depth', '16', '-o', at('Default.pdb'));
  corvane('skin', 'background', at('Default.pdb'), at('sky.png'), '-o', at('Sky.pdb'));
  corvane('skin', 'extract', at('Sky.pdb'), '-o', at('set'));
  corvane('skin', 'build', at('set'), '--depth', '16', '-o', at('FromZip.pdb'));
  execFileSync('zip', ['-q', '-r', '-9', at('by-zip.zip'), 'set'], { cwd: work });
});
after(() => {
  if (work) rmSync(work, { recursive: true, force: true });
});

const READ_BACK = `
import json, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    print(json.dumps({"bad": z.testzip(), "names": z.namelist()}))
`;

// A zip of one entry named `name` holding the set's 0.bmp, by Python's zipfile,
// which writes any name it is given.
function pythonZip(file, name) {
  execFileSync('python3', ['-c', 'import sys, zipfile\nwith zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z: z.write(sys.argv[2], sys.argv[3])',
    at(file), at('set/0.bmp'), name]);
  return readFileSync(at(file));
}
// The zip with its first entry declaring `size` bytes, in its local header and its directory.
function declaring(bytes, size) {
  const copy = Buffer.from(bytes);
  copy.writeUInt32LE(size, 22);
  copy.writeUInt32LE(size, copy.indexOf(Buffer.from('PK\x01\x02', 'latin1')) + 24);
  return copy;
}

const skinEditor = (page) => startEditor(page, shared.server.url, 'Phone Application Skins');

async function savedAs(page, name) {
  return page.download(async () => {
    await page.click(button('Save as...'));
    await page.type(role('textbox', 'File name', dialog('ask-name')), name);
    await page.click(button('OK', dialog('ask-name')));
    await closeMessage(page);
  });
}

let exported;
test('Export Bitmaps downloads one zip that zip readers take whole, holding the tool\'s set', async () => {
  const page = shared.browser;
  await skinEditor(page);
  await page.choose(() => page.click(button('Open Skin')), at('Sky.pdb'));
  await page.waitFor(heading(`Sky.pdb${TITLE}`));
  exported = await page.download(() => page.click(button('Export Bitmaps...')));
  assert.equal(exported.name, 'Sky.zip');
  writeFileSync(at('Sky.zip'), exported.bytes);
  const read = JSON.parse(execFileSync('python3', ['-c', READ_BACK, at('Sky.zip')]).toString());
  const names = readdirSync(at('set')).sort();
  assert.deepEqual([read.bad, [...read.names].sort()], [null, names]);
  execFileSync('unzip', ['-tq', at('Sky.zip')]);
  execFileSync('unzip', ['-q', at('Sky.zip'), '-d', at('unzipped')]);
  for (const name of names) assert.ok(readFileSync(at(`unzipped/${name}`)).equals(readFileSync(at(`set/${name}`))), name);
  assert.deepEqual(await page.errors(), []);
});

const imports = [
  { what: 'the page\'s own export, dropped on the skin editor',
    give: (page) => page.drop(css('#skin'), [{ name: 'Sky.zip', bytes: exported.bytes }]) },
  { what: 'a deflated zip made with zip, chosen with Import Bitmaps (files)',
    give: (page) => page.choose(() => page.click(button('Import Bitmaps (files)...')), at('by-zip.zip')) },
];
for (const { what, give } of imports) {
  test(`${what} imports as the tool builds the set`, async () => {
    const page = shared.browser;
    await skinEditor(page);
    await give(page);
    await page.waitFor(heading(`untitled.pdb*${TITLE}`));
    assert.equal(await page.count(message), 0, 'nothing to report');
    const saved = await savedAs(page, 'FromZip.pdb');
    assert.ok(withoutDates(saved.bytes).equals(withoutDates(readFileSync(at('FromZip.pdb')))), 'the tool\'s skin');
    assert.deepEqual(await page.errors(), []);
  });
}

test('zips leading out of the set or past the memory budget are refused whole, the skin unchanged', async () => {
  const page = shared.browser;
  await skinEditor(page);
  const refused = [
    ['climb.zip', pythonZip('climb.zip', '../0.bmp'), "climb.zip: the archive's entry '../0.bmp' leads out of the archive"],
    ['bomb.zip', declaring(pythonZip('bomb.zip', '0.bmp'), 300 << 20),
      'bomb.zip: the set\'s pictures declare 314572800 bytes, more than 256 MiB'],
  ];
  for (const [name, bytes, details] of refused) {
    await page.drop(css('#skin'), [{ name, bytes }]);
    await page.waitFor(message);
    assert.equal(await page.text(css('.details', message)), details, name);
    assert.equal((await closeMessage(page)).text, 'The bitmap set could not be imported.', name);
    await page.waitFor(heading(`untitled.pdb${TITLE}`));
  }
  assert.deepEqual(await page.errors(), []);
});

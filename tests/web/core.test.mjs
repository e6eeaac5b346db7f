// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser edition's module under Node: what it saves and draws must be
// what the command-line tool saves and draws from the same pictures, and a
// damaged file must give the desktop's message. Run with `node --test` after
// scripts/build-web.sh; CORVANE_CLI names the tool (build/release/corvane).
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const web = join(root, 'build', 'web');
const cli = process.env.CORVANE_CLI ?? join(root, 'build', 'release', 'corvane');
const data = join(root, 'tests', 'data');

// The loader emscripten 3.1 writes for an ES module looks for these under Node.
globalThis.require = createRequire(import.meta.url);
globalThis.__dirname = web;
const { default: createCore } = await import(join(web, 'corvane-core.js'));
const core = await createCore({ wasmBinary: readFileSync(join(web, 'corvane-core.wasm')) });

const work = mkdtempSync(join(tmpdir(), 'corvane-web-'));
after(() => rmSync(work, { recursive: true, force: true }));
const tool = (...args) => execFileSync(cli, args, { encoding: 'utf8' });

// The pixels of an uncompressed 24- or 32-bit BMP as RGBA, alpha 255.
function readBmp(bytes) {
  assert.equal(bytes.toString('latin1', 0, 2), 'BM');
  const offset = bytes.readUInt32LE(10), width = bytes.readInt32LE(18), rows = bytes.readInt32LE(22);
  const bits = bytes.readUInt16LE(28), height = Math.abs(rows), step = bits / 8;
  assert.ok(bits === 24 || bits === 32, `a ${bits}-bit BMP`);
  const stride = (width * step + 3) & ~3;
  const rgba = new Uint8Array(width * height * 4);
  for (let y = 0; y < height; ++y) {
    const row = offset + (rows > 0 ? height - 1 - y : y) * stride;
    for (let x = 0; x < width; ++x) {
      const p = row + x * step;
      rgba.set([bytes[p + 2], bytes[p + 1], bytes[p], 255], (y * width + x) * 4);
    }
  }
  return { width, height, rgba };
}

// A skin or splash file with its three dates (creation, modification, backup) zeroed.
const undated = (bytes) => {
  const copy = Buffer.from(bytes);
  copy.fill(0, 36, 48);
  return copy;
};

function writeFolder(folder, from) {
  core.FS.mkdirTree(folder);
  for (const name of readdirSync(from)) core.FS.writeFile(`${folder}/${name}`, readFileSync(join(from, name)));
}

// The golden skin's bitmap set.
const set = join(work, 'set');
tool('skin', 'extract', join(data, 'skin', 'golden.pdb'), '-o', set);
writeFolder('/in/set', set);

// Picking a transparent colour on the way is the page tests' (skin.test.mjs).
test('a skin made from a bitmap set saves the bytes the tool builds, and its last step undoes', () => {
  for (const depth of [16, 8]) {
    const name = `skin${depth}.pdb`;
    tool('skin', 'build', set, '--depth', String(depth), '-o', join(work, name));

    const skin = new core.SkinSession();
    skin.setDepth(depth);
    skin.choose('/in/set');
    assert.equal(skin.importBitmaps().outcome, 'Imported');
    core.FS.mkdirTree('/out');
    skin.choose(`/out/${name}`);
    assert.equal(skin.saveAs().outcome, 'Saved', name);
    assert.equal(skin.modified(), false);
    assert.deepEqual(undated(core.FS.readFile(`/out/${name}`)), undated(readFileSync(join(work, name))), name);
    // The file now holds the last step: undoing it leaves a change to save, redoing it none.
    assert.equal(skin.undo().outcome, 'Ok');
    assert.equal(skin.modified(), true);
    assert.equal(skin.redo().outcome, 'Ok');
    assert.equal(skin.modified(), false);
    skin.delete();
  }
});

// The released preview is checked through the page (skin.test.mjs); the pressed one only here.
test('a skin the tool made shows the pressed dial pad the tool writes', () => {
  for (const depth of [8, 16]) {
    const file = join(work, `shown${depth}.pdb`);
    tool('skin', 'build', set, '--depth', String(depth), '-o', file);
    const pictures = join(work, `shown${depth}`);
    tool('skin', 'preview', file, '-o', pictures);
    core.FS.writeFile(`/in/shown${depth}.pdb`, readFileSync(file));

    const skin = new core.SkinSession();
    assert.equal(skin.open(`/in/shown${depth}.pdb`).outcome, 'Opened');
    // The depth is the user's choice, not the file's.
    assert.equal(skin.setDepth(depth).outcome, 'Changed');
    // The pressed screen is written as its dial pad, 306 x 184 at (6, 90).
    const pad = readBmp(readFileSync(join(pictures, `shown${depth}-dial-pressed.bmp`)));
    const pressed = skin.previewRGBA(true);
    for (let y = 0; y < pad.height; ++y) {
      const from = ((90 + y) * 320 + 6) * 4;
      assert.deepEqual(pressed.subarray(from, from + pad.width * 4), pad.rgba.subarray(y * pad.width * 4, (y + 1) * pad.width * 4));
    }
    skin.delete();
  }
});

test('damaged and refused files give the desktop messages and change nothing', () => {
  const golden = readFileSync(join(data, 'skin', 'golden.pdb'));
  core.FS.writeFile('/in/cut.pdb', golden.subarray(0, 100));
  core.FS.writeFile('/in/noise.bmp', Buffer.from('BM not really a bitmap'));
  core.FS.writeFile('/in/flat.png', readFileSync(join(data, 'splash', 'flat-320x320.png')));
  core.FS.writeFile('/in/wide.png', readFileSync(join(root, 'fuzz', 'corpus', 'decode_picture', 'png-wide-rgba16-header-only.png')));
  core.FS.writeFile('/in/small.jpg', readFileSync(join(data, 'splash', 'baseline-320x240.jpg')));
  core.stageOversized('/in/huge.pdb', core.fileLimit('database') + 1);
  const skinCases = [
    { run: (s) => s.open('/in/huge.pdb'), outcome: 'CouldNotOpen', text: 'Could not open file.',
      details: '/in/huge.pdb: larger than 64 MiB, the limit for skin files' },
    { run: (s) => (s.choose('/in/noise.bmp'), s.loadImage(0)), outcome: 'Failed', text: 'Error loading bitmap.' },
    // Refused from its header, before its pixels take any memory.
    { run: (s) => (s.choose('/in/wide.png'), s.loadImage(0)), outcome: 'Failed', text: 'Error loading bitmap.' },
  ];
  for (const { run, outcome, text, details } of skinCases) {
    const skin = new core.SkinSession();
    const before = skin.elementPicture(0);
    const result = run(skin);
    assert.equal(result.outcome, outcome);
    assert.equal(result.messages.at(-1).text, text);
    if (details) assert.equal(result.messages.at(-1).details, details);
    assert.deepEqual(skin.elementPicture(0), before);
    assert.equal(skin.title(), 'untitled.pdb - Corvane Desktop for Treo 650/700p');
    skin.delete();
  }
  // Staged as the page stages a user's file: the messages name it as the user does.
  core.FS.mkdirTree('/in/4');
  core.FS.writeFile('/in/4/wrong size.jpg', readFileSync(join(data, 'splash', 'baseline-320x240.jpg')));
  core.stageOversized('/in/4/huge.jpg', core.fileLimit('database') + 1);
  const splashCases = [
    { path: '/in/flat.png', outcome: 'NotJpeg', text: 'File /in/flat.png is not a Jpeg image.' },
    { path: '/in/small.jpg', outcome: 'WrongSize',
      text: 'File /in/small.jpg does not have dimension 320x320 (it has 320x240).' },
    { path: '/in/4/wrong size.jpg', outcome: 'WrongSize',
      text: 'File wrong size.jpg does not have dimension 320x320 (it has 320x240).' },
    { path: '/in/4/huge.jpg', outcome: 'CouldNotOpen', text: 'Could not open file huge.jpg for reading.',
      details: 'huge.jpg: larger than 64 MiB, the limit for splash files and their images' },
    { path: '/in/cut.pdb', outcome: 'NotJpeg', text: 'File /in/cut.pdb is not a Jpeg image.' },
  ];
  for (const { path, outcome, text, details = '' } of splashCases) {
    const splash = new core.SplashSession();
    splash.choose(path);
    const result = splash.loadPicture(0);
    assert.deepEqual([result.outcome, result.messages.at(-1).text, result.messages.at(-1).details], [outcome, text, details]);
    assert.equal(splash.hasPicture(0), false);
    assert.equal(splash.canUndo(), false);
    splash.delete();
  }
});

// Saving and reopening a splash file is the page tests' (splash.test.mjs); the
// page only shows what pictureBytes gives, so its bytes are checked here.
test('a splash gives back each picture it holds byte for byte', () => {
  const splash = new core.SplashSession();
  const jpegs = [[0, 'baseline-320x320.jpg'], [1, 'progressive-320x320.jpg']];
  for (const [which, name] of jpegs) {
    core.FS.writeFile(`/in/${name}`, readFileSync(join(data, 'splash', name)));
    splash.choose(`/in/${name}`);
    assert.equal(splash.loadPicture(which).outcome, 'Loaded');
  }
  for (const [which, name] of jpegs)
    assert.deepEqual(Buffer.from(splash.pictureBytes(which)), readFileSync(join(data, 'splash', name)), name);
  splash.delete();
});

// Every picture format goes through the core's own readers, as in the tool:
// 16-bit and interlaced PNGs, partial transparency, palettes, grey levels,
// progressive and subsampled JPEGs.
test('a picture of every format loads the pixels the tool reads from it', () => {
  const pictures = readdirSync(join(data, 'pictures')).filter((name) => /\.(png|jpg)$/.test(name));
  assert.ok(pictures.length >= 6);
  for (const name of pictures) {
    const resource = join(work, `${name}.bin`), decoded = join(work, `${name}.bmp`);
    tool('bitmap', 'encode', join(data, 'pictures', name), '--depth', '16', '-o', resource);
    tool('bitmap', 'decode', resource, '-o', decoded);
    const expected = readBmp(readFileSync(decoded));

    core.FS.writeFile(`/in/${name}`, readFileSync(join(data, 'pictures', name)));
    const skin = new core.SkinSession();
    skin.setDepth(16);
    skin.choose(`/in/${name}`);
    assert.equal(skin.loadImage(0).outcome, 'Loaded', name);
    const { width, height } = skin.element(0);
    assert.ok(width >= expected.width && height >= expected.height, name);
    const shown = skin.elementPicture(0);
    for (let y = 0; y < expected.height; ++y)
      assert.deepEqual(shown.subarray(y * width * 4, (y * width + expected.width) * 4),
                       expected.rgba.subarray(y * expected.width * 4, (y + 1) * expected.width * 4), `${name} row ${y}`);
    skin.delete();
  }
});

test('Load Image undoes and redoes', () => {
  // 5-6-5 colours, which a 16-bit skin keeps as they are.
  const [w, h] = [4, 3];
  const rgba = new Uint8Array(w * h * 4).map((_, i) => [0xf8, 0x00, 0x08, 0x80][i % 4]);
  core.FS.writeFile('/in/decoded.ppm', Buffer.concat([Buffer.from(`P6 ${w} ${h} 255\n`),
    Buffer.from(rgba.filter((_, i) => i % 4 !== 3))]));

  const skin = new core.SkinSession();
  const before = skin.elementPicture(0);
  skin.choose('/in/decoded.ppm');
  assert.equal(skin.loadImage(0).outcome, 'Loaded');
  const after = skin.elementPicture(0);
  const width = skin.element(0).width;
  for (let y = 0; y < h; ++y)
    for (let x = 0; x < w; ++x)
      assert.deepEqual([...after.subarray((y * width + x) * 4, (y * width + x) * 4 + 4)], [0xf8, 0x00, 0x08, 255]);
  // Where the picture does not reach, the slot keeps its pixels, now in 5-6-5 colour.
  const masks = [0xf8, 0xfc, 0xf8, 0xff];
  assert.deepEqual(after.subarray(w * 4, width * 4), before.subarray(w * 4, width * 4).map((v, i) => v & masks[i % 4]));
  assert.equal(skin.modified(), true);
  assert.equal(skin.undoText(), 'Load Image (0)');

  assert.equal(skin.undo().outcome, 'Ok');
  assert.deepEqual(skin.elementPicture(0), before);
  assert.equal(skin.modified(), false);
  assert.equal(skin.redo().outcome, 'Ok');
  assert.deepEqual(skin.elementPicture(0), after);
  assert.equal(skin.undo().outcome, 'Ok');
  assert.equal(skin.undo().outcome, 'Nothing');
  skin.delete();
});

test('a question stops its command until the page answers it', () => {
  const cases = [
    { answer: null, outcome: 'Cancelled', modified: true },
    { answer: 'No', outcome: 'Cancelled', modified: true },
    { answer: 'Yes', outcome: 'Reset', modified: false },
  ];
  for (const { answer, outcome, modified } of cases) {
    const skin = new core.SkinSession();
    skin.setDepth(8);
    if (answer) assert.equal(skin.answer(answer), true);
    const result = skin.reset();
    assert.equal(result.outcome, outcome);
    assert.equal(result.question === null, answer !== null);
    if (!answer) assert.equal(result.question.text,
      'You changed the current skin and did not save your changes. Reset all bitmaps anyway?');
    assert.equal(skin.modified(), modified);
    skin.delete();
  }
  const skin = new core.SkinSession();
  assert.equal(skin.answer('Maybe'), false);
  skin.delete();
});

test('leaving an editor asks about unsaved changes and saves on Yes', () => {
  const skinQuestion = 'You changed the current skin. Do you want to save your changes before exiting?';
  const cases = [
    { change: false, answer: null, path: null, outcome: 'Closed', question: null, saved: false },
    { change: true, answer: null, path: null, outcome: 'Stayed', question: skinQuestion, saved: false },
    { change: true, answer: 'Cancel', path: null, outcome: 'Stayed', question: null, saved: false },
    { change: true, answer: 'No', path: null, outcome: 'Closed', question: null, saved: false },
    { change: true, answer: 'Yes', path: '/out/left.pdb', outcome: 'Closed', question: null, saved: true },
    // Yes, then the save prompt closed: the editor stays.
    { change: true, answer: 'Yes', path: null, outcome: 'Stayed', question: null, saved: false },
  ];
  for (const { change, answer, path, outcome, question, saved } of cases) {
    if (core.FS.analyzePath('/out/left.pdb').exists) core.FS.unlink('/out/left.pdb');
    const skin = new core.SkinSession();
    if (change) skin.setDepth(8);
    if (answer) skin.answer(answer);
    if (path) skin.choose(path);
    const result = skin.close(false);
    assert.equal(result.outcome, outcome);
    assert.equal(result.question?.text ?? null, question);
    assert.equal(core.FS.analyzePath('/out/left.pdb').exists, saved);
    assert.equal(skin.modified(), change && !saved);
    skin.delete();
  }

  // The splash saves only with both pictures; its two ways out ask differently.
  core.FS.writeFile('/in/welcome.jpg', readFileSync(join(data, 'splash', 'baseline-320x320.jpg')));
  const splash = new core.SplashSession();
  splash.choose('/in/welcome.jpg');
  splash.loadPicture(0);
  assert.equal(splash.close(true).question.text,
    'You changed the current splash. Do you want to save your changes before exiting?');
  assert.equal(splash.close(false).question.text,
    'You changed the current splash file. Do you want to save your changes before exiting?');
  splash.answer('Yes');
  const refused = splash.close(false);
  assert.equal(refused.outcome, 'Stayed');
  assert.equal(refused.messages.at(-1).text, 'You need to select both a welcome and a goodbye image prior to saving.');
  splash.delete();
});

// What each export writes is the page tests' (skin.test.mjs, exchange.test.mjs);
// the question before overwriting a file is checked here.
test('an export asks before overwriting, and Yes to All overwrites without asking again', () => {
  const file = join(work, 'exported.pdb');
  tool('skin', 'build', set, '--depth', '16', '-o', file);
  core.FS.writeFile('/in/exported.pdb', readFileSync(file));

  const skin = new core.SkinSession();
  assert.equal(skin.open('/in/exported.pdb').outcome, 'Opened');
  core.FS.mkdirTree('/out/set');
  skin.choose('/out/set');
  assert.equal(skin.exportBitmaps().outcome, 'Exported');
  // The same folder again: the first file already there stops the export until the page answers.
  skin.choose('/out/set');
  const asked = skin.exportBitmaps();
  assert.equal(asked.outcome, 'Stopped');
  assert.equal(asked.question.buttons, 'YesYesToAllNoCancel');
  skin.choose('/out/set');
  skin.answer('YesToAll');
  const overwritten = skin.exportBitmaps();
  assert.deepEqual([overwritten.outcome, overwritten.question, overwritten.messages.length], ['Exported', null, 1]);
  skin.delete();
});

test('arguments out of range are refused and change nothing', () => {
  const skin = new core.SkinSession();
  const calls = [
    () => skin.setDepth(7), () => skin.loadImage(-1), () => skin.loadImage(35), () => skin.setTransparentAt(0, 102, 0),
    () => skin.setTransparentAt(0, 0, -1), () => skin.confirmTransparent(35), () => skin.shareTransparentAt(3, 0, 0),
    () => skin.shareTransparentAt(4, 0, 0),
  ];
  for (const call of calls) {
    assert.equal(call().outcome, 'Refused', call.toString());
    assert.deepEqual([skin.modified(), skin.canUndo(), skin.depth()], [false, false, 16], call.toString());
  }
  assert.deepEqual([skin.element(35), skin.elementPicture(-1), skin.transparentColour(99)], [null, null, null]);
  skin.delete();
  const splash = new core.SplashSession();
  assert.equal(splash.loadPicture(2).outcome, 'UnknownId');
  assert.deepEqual([splash.hasPicture(2), splash.pictureBytes(-1), splash.canUndo()], [false, null, false]);
  splash.delete();
});

test('messages name files without the folders the page stages them in', () => {
  const cases = [
    ['/in/3/Summer.pdb: larger than 64 MiB', 'Summer.pdb: larger than 64 MiB'],
    ['File /out/12/a b.jpg saved; /in/7/c.bmp too', 'File a b.jpg saved; c.bmp too'],
    ['The file\n\n     /out/4/0.bmp\n\nalready exists.', 'The file\n\n     0.bmp\n\nalready exists.'],
    ['"/in/5/set/0.bmp"', '"set/0.bmp"'],
    // Other paths stay as they are.
    ['/work/in/3/x.pdb', '/work/in/3/x.pdb'],
    ['/in/x/y.pdb and /in/3 and /in//y', '/in/x/y.pdb and /in/3 and /in//y'],
    ['/inn/3/y', '/inn/3/y'],
  ];
  for (const [text, shown] of cases) assert.equal(core.withUserNames(text), shown, text);
});

test('the end of a command leaves nothing staged', () => {
  core.FS.mkdirTree('/in/91/set');
  core.FS.writeFile('/in/91/set/0.bmp', new Uint8Array(1000));
  core.FS.mkdirTree('/out/92');
  core.FS.writeFile('/out/92/Sky.pdb', new Uint8Array(10));
  core.endCommand();
  for (const root of ['/in', '/out']) assert.deepEqual(core.FS.readdir(root).filter((n) => n !== '.' && n !== '..'), [], root);
});

test('the picture pickers offer the formats the core reads', () => {
  assert.deepEqual(core.pictureExtensions(), ['.bmp', '.png', '.jpg', '.jpeg', '.pbm', '.pgm', '.ppm', '.pnm', '.pam']);
});

// Zips made by Python's zipfile, whose names and sizes the core must not trust.
const PY_ZIP = `
import sys, zipfile
archive, method = sys.argv[1], zipfile.ZIP_DEFLATED if sys.argv[2] == "deflated" else zipfile.ZIP_STORED
with zipfile.ZipFile(archive, "w", method) as z:
    for pair in sys.argv[3:]:
        name, path = pair.split("=", 1)
        z.write(path, name)
`;
function pythonZip(name, method, entries) {
  const archive = join(work, name);
  execFileSync('python3', ['-c', PY_ZIP, archive, method, ...entries.map(([n, p]) => `${n}=${p}`)]);
  return readFileSync(archive);
}
// The zip with the first entry's declared size (local header and directory) set to `size`.
function declaring(archive, size) {
  const bytes = Buffer.from(archive);
  bytes.writeUInt32LE(size, 22);
  const directory = bytes.indexOf(Buffer.from([0x50, 0x4b, 0x01, 0x02]));
  bytes.writeUInt32LE(size, directory + 24);
  return bytes;
}

test('a zipped bitmap set imports as the tool builds the set, and a hostile one is refused whole', () => {
  const expected = join(work, 'from-set.pdb');
  tool('skin', 'build', set, '--depth', '16', '-o', expected);
  const files = readdirSync(set);
  writeFolder('/in/set', set);
  execFileSync('zip', ['-q', '-r', join(work, 'by-zip.zip'), 'set'], { cwd: work });
  // The page's own export: the core's zip of the folder Export Bitmaps writes.
  const exporter = new core.SkinSession();
  core.FS.mkdirTree('/out/81');
  exporter.choose('/in/set');
  exporter.importBitmaps();
  exporter.choose('/out/81');
  assert.equal(exporter.exportBitmaps().outcome, 'Exported');
  const exported = core.zipFolder('/out/81');
  exporter.delete();
  const good = [
    ['a deflated zip made with zip', readFileSync(join(work, 'by-zip.zip'))],
    ['the page\'s export', exported],
    ['stored entries in a folder of a folder', pythonZip('deep.zip', 'stored', files.map((f) => [`a/b/${f}`, join(set, f)]))],
  ];
  for (const [what, bytes] of good) {
    core.FS.mkdirTree('/in/82');
    core.FS.writeFile('/in/82/set.zip', bytes);
    const skin = new core.SkinSession();
    skin.choose('/in/82/set.zip');
    const result = skin.importBitmapZip();
    assert.deepEqual([result.outcome, result.messages], ['Imported', []], what);
    core.FS.mkdirTree('/out/82');
    skin.choose('/out/82/from-set.pdb');
    assert.equal(skin.saveAs().outcome, 'Saved', what);
    assert.deepEqual(undated(core.FS.readFile('/out/82/from-set.pdb')), undated(readFileSync(expected)), what);
    skin.delete();
  }

  const one = join(set, '0.bmp');
  const bad = [
    ['a name that leaves the archive', pythonZip('out.zip', 'deflated', [['../0.bmp', one]]),
      "evil.zip: the archive's entry '../0.bmp' leads out of the archive"],
    ['a picture declaring more than the memory budget', declaring(pythonZip('big.zip', 'deflated', [['0.bmp', one]]), 300 << 20),
      'evil.zip: the set\'s pictures declare 314572800 bytes, more than 256 MiB'],
    ['no zip at all', readFileSync(one), 'evil.zip: not a zip archive, or one cut short'],
  ];
  for (const [what, bytes, details] of bad) {
    core.FS.mkdirTree('/in/83');
    core.FS.writeFile('/in/83/evil.zip', bytes);
    const skin = new core.SkinSession();
    skin.choose('/in/83/evil.zip');
    const result = skin.importBitmapZip();
    assert.equal(result.outcome, 'Refused', what);
    assert.deepEqual(result.messages.map((m) => [m.text, m.details]), [['The bitmap set could not be imported.', details]], what);
    assert.deepEqual([skin.modified(), skin.canUndo()], [false, false], what);
    skin.delete();
  }

  // A set missing a file: the others go in, the missing one is named as Import Bitmaps names it.
  core.FS.writeFile('/in/83/part.zip', pythonZip('part.zip', 'deflated', files.filter((f) => f !== 'star.bmp').map((f) => [f, join(set, f)])));
  const skin = new core.SkinSession();
  skin.choose('/in/83/part.zip');
  const partial = skin.importBitmapZip();
  assert.equal(partial.outcome, 'Imported');
  assert.equal(partial.messages[0].text, 'The following bitmap(s) could not be imported:\n\n     star.bmp\n     star.bmp\n');
  assert.equal(partial.messages[0].details, 'part.zip/star.bmp: cannot open the file for reading: No such file or directory\n');
  skin.delete();
  core.endCommand();
});

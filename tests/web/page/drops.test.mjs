// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Drops, one meaning each wherever they land: a skin or splash file opens in
// its own editor, a picture goes where it is dropped, anything else is
// refused with a message; and no drop is left to the browser, which would
// replace the page with the dropped file.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { corvane, testData, workFolder } from './harness.mjs';
import { button, css, dialog, heading, servedPage } from './driver.mjs';
import { TITLE, closeMessage, closeMessageBeforeNext, message, startEditor } from './steps.mjs';

const shared = servedPage();
const at = workFolder('corvane-web-drops-', (at) => {
  corvane('skin', 'new', '--depth', '16', '-o', at('Plain.pdb'));
  corvane('skin', 'extract', at('Plain.pdb'), '-o', at('set'));
  corvane('splash', 'build', path.join(testData, 'splash/baseline-320x320.jpg'),
    path.join(testData, 'splash/progressive-320x320.jpg'), '-o', at('Summer.pdb'));
});

const file = (name) => ({ name: path.basename(name), bytes: readFileSync(name) });
const skinFile = () => file(path.join(testData, 'skin/golden.pdb'));
const splashFile = () => file(at('Summer.pdb'));
const picture = () => file(at('set/titlebar.bmp'));
const notes = () => ({ name: 'notes.txt', bytes: Buffer.from('not a skin') });

const onStart = (page) => page.open(shared.server.url);
const onSkinEditor = (page) => startEditor(page, shared.server.url, 'Phone Application Skins');
const onSplashEditor = (page) => startEditor(page, shared.server.url, 'Splash Images');
async function onElementEditor(page) {
  await onSkinEditor(page);
  await page.click(button('Edit Title and Event Bar'));
  await page.waitFor(heading('Edit Title and Event Bar', dialog('element-editor')));
}

// Each: where the drop lands, what is dropped, and what the user then sees.
const drops = [
  { name: 'a skin file on the start screen opens in the skin editor', setup: onStart, target: css('#start'), files: () => [skinFile()],
    then: (page) => page.waitFor(heading(`golden.pdb${TITLE}`, css('#skin'))) },
  { name: 'a splash file on the start screen opens in the splash editor', setup: onStart, target: css('#start'), files: () => [splashFile()],
    then: (page) => page.waitFor(heading(`Summer.pdb${TITLE}`, css('#splash'))) },
  { name: 'a splash file on the skin editor opens in the splash editor', setup: onSkinEditor, target: css('#skin'), files: () => [splashFile()],
    then: (page) => page.waitFor(heading(`Summer.pdb${TITLE}`, css('#splash'))) },
  { name: 'a skin file on the splash editor opens in the skin editor', setup: onSplashEditor, target: css('#splash'), files: () => [skinFile()],
    then: (page) => page.waitFor(heading(`golden.pdb${TITLE}`, css('#skin'))) },
  ...[['the start screen', onStart, css('#start')], ['the skin editor', onSkinEditor, css('#skin')]].map(([where, setup, target]) => ({
    name: `a file of another kind on ${where} is refused with a message`, setup, target, files: () => [notes()],
    async then(page) {
      assert.match((await closeMessage(page)).text, /^notes\.txt cannot be dropped/);
    } })),
  { name: 'a picture on the element editor outside its slots is refused with a message', setup: onElementEditor,
    target: heading('Edit Title and Event Bar', dialog('element-editor')), files: () => [picture()],
    async then(page) {
      assert.match((await closeMessage(page)).text, /^titlebar\.bmp cannot be dropped/);
      await page.waitFor(dialog('element-editor'));
    } },
  { name: 'a drop on an open message changes nothing', target: message, files: () => [skinFile()],
    async setup(page) {
      await onStart(page);
      await page.drop(css('#start'), [notes()]);
      await page.waitFor(message);
    },
    async then(page) {
      assert.match((await closeMessage(page)).text, /^notes\.txt cannot be dropped/);
      await page.waitFor(css('#start'));
      assert.equal(await page.count(message), 0, 'no second message');
    } },
  // Last: it leaves the skin changed, and the next page opened would be asked about leaving it.
  { name: 'a picture on the skin editor goes into the skin as a bitmap set, not opened as a skin', setup: onSkinEditor, target: css('#skin'),
    files: () => [picture()],
    async then(page) {
      // The bitmap set's report of what it took, never the question about opening another skin.
      assert.doesNotMatch((await closeMessage(page)).text, /skin anyway/);
      await page.waitFor(heading(/^untitled\.pdb\* - /, css('#skin')));
    } },
];

for (const drop of drops) {
  test(drop.name, async () => {
    const page = shared.browser;
    await drop.setup(page);
    const taken = await page.drop(drop.target, drop.files());
    assert.deepEqual(taken, { dragover: true, drop: true }, 'the page takes the drop; the browser does not open the file');
    await drop.then(page);
    assert.deepEqual(await page.errors(), []);
  });
}

// No engine's driver drops a real folder, so the folder is the browser's
// entry interface as Chromium gives it: its entries in batches of at most
// 100, then an empty one. The title bar comes last, after 150 other files.
test('a dropped folder is read to its last entry, however many batches the browser gives it in', async () => {
  const page = shared.browser;
  await onSkinEditor(page);
  const titleBar = readFileSync(at('set/titlebar.bmp')).toString('base64');
  await page.evaluate((base64) => {
    const text = atob(base64);
    const bytes = Uint8Array.from(text, (c) => c.charCodeAt(0));
    const files = Array.from({ length: 150 }, (_, i) => new File(['note'], `note-${String(i).padStart(3, '0')}.txt`));
    files.push(new File([bytes], 'titlebar.bmp'));
    const entries = files.map((file) => ({ isFile: true, isDirectory: false, name: file.name, file: (done) => done(file) }));
    const folder = {
      isFile: false, isDirectory: true, name: 'set',
      createReader() {
        let next = 0;
        return { readEntries(done) { const batch = entries.slice(next, next + 100); next += batch.length; setTimeout(() => done(batch)); } };
      },
    };
    const transfer = { types: ['Files'], files: [], items: [{ kind: 'file', webkitGetAsEntry: () => folder }] };
    for (const type of ['dragover', 'drop']) {
      const event = new Event(type, { bubbles: true, cancelable: true });
      Object.defineProperty(event, 'dataTransfer', { value: transfer });
      document.getElementById('skin').dispatchEvent(event);
    }
  }, titleBar);
  await page.waitFor(message);
  const details = await page.evaluate(() => document.querySelector('#message .details').textContent);
  const missing = await closeMessageBeforeNext(page);
  assert.ok(!/^\s*titlebar\.bmp$/m.test(`${missing}\n${details}`), 'the title bar, the last entry, was read');
  assert.match((await closeMessage(page)).text, /^Not imported, because no picture of a skin has this name: note-\d{3}\.txt, .* and 145 more\./);
  assert.deepEqual(await page.errors(), []);
});

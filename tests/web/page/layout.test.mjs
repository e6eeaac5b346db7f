// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin editor at 4x zoom: the previews scroll in their own frame, the
// page keeps the window's width, and the commands stay in view while the
// previews are scrolled to their far corner.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { css, role, servedPage } from './driver.mjs';
import { startEditor, stored16 } from './steps.mjs';

const shared = servedPage();

test('at 4x the previews scroll in their frame and the commands stay', async () => {
  const page = shared.browser;
  await startEditor(page, shared.server.url, 'Phone Application Skins');
  await page.select(role('combobox', 'Zoom'), '4');
  await page.until(() => document.getElementById('preview-released').getBoundingClientRect().width >= 1280, null, 'the 4x previews');
  const frame = css('.previews');
  await page.focus(frame);
  await page.evaluate(() => {
    const previews = document.querySelector('.previews');
    previews.scrollTo(previews.scrollWidth, previews.scrollHeight);
  });
  const seen = await page.evaluate(() => {
    const open = document.querySelector('button[data-command="open"]').getBoundingClientRect();
    const root = document.documentElement;
    return { pageWidth: root.scrollWidth, window: innerWidth, commandsInView: open.top >= 0 && open.bottom <= innerHeight };
  });
  assert.ok(seen.pageWidth <= seen.window, `the page is ${seen.pageWidth} px wide in a ${seen.window} px window`);
  assert.ok(seen.commandsInView, 'Open Skin is in view');
  assert.ok(await page.evaluate(() => document.querySelector('.previews').scrollLeft > 0), 'the frame scrolled');
  assert.deepEqual(await page.errors(), []);
});

// A phone's width, as the page sees it in a frame that wide: every engine can
// make one, whatever its driver allows of the window.
test('at 390 px wide the chooser fits the window', async () => {
  const page = shared.browser;
  await page.open(shared.server.url);
  const seen = await page.evaluate(async (url) => {
    const frame = Object.assign(document.createElement('iframe'), { src: url });
    Object.assign(frame.style, { width: '390px', height: '844px', border: '0' });
    document.body.append(frame);
    const until = async (ready) => {
      for (let i = 0; i < 1200 && !ready(); i++) await new Promise((resolve) => setTimeout(resolve, 50));
      if (!ready()) throw new Error('the framed page did not get there');
    };
    const inner = () => frame.contentDocument;
    await until(() => inner()?.body?.dataset.ready === 'true');
    inner().getElementById('start-skins').click();
    await until(() => inner().querySelector('#editor-buttons button'));
    [...inner().querySelectorAll('#editor-buttons button')].find((b) => b.textContent === 'Edit Title and Event Bar').click();
    await until(() => inner().querySelector('#element-editor[open] button.transparent'));
    inner().querySelector('#element-editor[open] button.transparent').click();
    await until(() => inner().querySelector('#chooser[open]'));
    const box = inner().querySelector('#chooser').getBoundingClientRect();
    const result = { left: box.left, right: box.right, window: frame.contentWindow.innerWidth };
    frame.remove();
    return result;
  }, shared.server.url);
  assert.equal(seen.window, 390);
  assert.ok(seen.left >= 0 && seen.right <= seen.window, `the chooser spans ${seen.left} to ${seen.right} px`);
});

test('the pixel under the pointer and its colour are named at any zoom; Show Transparent Pixels checkers the see-through ones', async () => {
  const page = shared.browser;
  await startEditor(page, shared.server.url, 'Phone Application Skins');
  const preview = css('#preview-released');
  const plain = await page.pixels(preview);
  for (const [zoom, [x, y]] of [['1', [37, 12]], ['3', [150, 60]]]) {
    await page.select(role('combobox', 'Zoom'), zoom);
    // The pointer stands on whole screen pixels, and the preview may not: the
    // first whole pixel inside the picture pixel's square, past the border.
    const box = await page.evaluate(() => {
      const { left, top } = document.getElementById('preview-released').getBoundingClientRect();
      return { left, top };
    });
    const inside = (start, at) => Math.ceil(start + 1 + at * Number(zoom)) - start;
    await page.hover(preview, { x: inside(box.left, x), y: inside(box.top, y) });
    const i = (y * 320 + x) * 4;
    const expected = `Preview (320x320): ${x}, ${y} ${stored16(plain.subarray(i, i + 3))}`;
    const said = await page.until((where) => {
      const text = document.getElementById('skin-pointer').textContent;
      return text.startsWith(where) && text;
    }, `Preview (320x320): ${x}, ${y} `, `the pixel ${x}, ${y} named`).catch(async (e) => {
      throw new Error(`${e.message}; said ${await page.text(css('#skin-pointer'))}`);
    });
    assert.equal(said, expected);
  }
  await page.select(role('combobox', 'Zoom'), '1');

  // The preview as drawn now, kept in the page to compare with as it changes.
  const marksShown = () => {
    const c = document.getElementById('preview-released');
    return c.getContext('2d').getImageData(0, 0, 320, 320).data.some((v, i) => v !== window.plainPreview[i]);
  };
  const unchanged = () => {
    const c = document.getElementById('preview-released');
    return c.getContext('2d').getImageData(0, 0, 320, 320).data.every((v, i) => v === window.plainPreview[i]);
  };
  await page.evaluate(() => {
    const c = document.getElementById('preview-released');
    window.plainPreview = c.getContext('2d').getImageData(0, 0, 320, 320).data;
  });
  await page.check(role('checkbox', 'Show Transparent Pixels'));
  await page.until(marksShown, null, 'the see-through pixels marked');
  const marked = await page.pixels(preview);
  let changed = 0;
  for (let p = 0; p < 320 * 320; p++) {
    if (marked.subarray(p * 4, p * 4 + 3).equals(plain.subarray(p * 4, p * 4 + 3))) continue;
    changed++;
    const [x, y] = [p % 320, Math.floor(p / 320)];
    const shade = (Math.floor(x / 4) + Math.floor(y / 4)) % 2 ? 204 : 255;
    assert.deepEqual([...marked.subarray(p * 4, p * 4 + 3)], [shade, shade, shade], `pixel ${x}, ${y} is the checkerboard's`);
  }
  assert.ok(changed > 1000, `${changed} pixels marked`);
  await page.check(role('checkbox', 'Show Transparent Pixels'));
  await page.until(unchanged, null, 'the marks gone again');
  assert.deepEqual(await page.errors(), []);
});

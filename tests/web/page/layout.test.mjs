// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin editor at 4x zoom: the previews scroll in their own frame, the
// page keeps the window's width, and the commands stay in view while the
// previews are scrolled to their far corner.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { css, role, servedPage } from './driver.mjs';
import { startEditor } from './steps.mjs';

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

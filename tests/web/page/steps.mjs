// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Steps a user takes on the page, over driver.mjs, in the words of the
// page's controls.
import { button, css, dialog, heading } from './driver.mjs';

export const TITLE = ' - Corvane Desktop for Treo 650/700p';
export const message = dialog('message');

// Waits for the message box, closes it with its first button (or `answer`),
// and returns its caption and text.
export async function closeMessage(page, answer) {
  const caption = await page.text(css('.caption', message));
  const text = await page.text(css('.text', message));
  await page.click(answer ? button(answer, message) : css('.buttons button', message));
  await page.waitGone(message);
  return { caption, text };
}

// Opens the page and one of its editors: 'Phone Application Skins' or 'Splash Images'.
export async function startEditor(page, url, which) {
  await page.open(url);
  await page.click(button(which));
  await page.waitFor(heading(/^untitled\.pdb - /));
}

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time from navigation to the 'corvane-ready' mark the page sets once the
// core has loaded and the start screen takes clicks; each first visit in a
// fresh profile, each later visit a reload served by the service worker.
// Arguments: the number of visits of each kind, the folder of the page.
const { launch, openPage, serve } = await import('../tests/web/page/harness.mjs');

const runs = Number(process.argv[2] ?? 7);
const site = process.argv[3];
const readyAt = (page) => page.evaluate(() => performance.getEntriesByName('corvane-ready')[0].startTime);
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

const server = await serve(site);
const first = [];
const later = [];
try {
  for (let i = 0; i < runs; i++) {
    const browser = await launch();
    try {
      const { page } = browser;
      await openPage(page, server.url);
      first.push(await readyAt(page));
      await page.evaluate(() => navigator.serviceWorker.ready);
      await openPage(page, server.url);
      later.push(await readyAt(page));
    } finally {
      await browser.close();
    }
  }
} finally {
  await server.stop();
}
// Two cells of the table bench/web-load.sh prints.
console.log(`${median(first).toFixed(0)} ms | ${median(later).toFixed(0)} ms`);

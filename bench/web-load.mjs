// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time from navigation to the 'corvane-ready' mark the page sets once the
// core has loaded and the start screen takes clicks; each first visit in a
// fresh profile, each later visit a reload served by the service worker.
const { launch, openPage, serve } = await import('../tests/web/page/harness.mjs');

const runs = Number(process.argv[2] ?? 7);
const readyAt = (page) => page.evaluate(() => performance.getEntriesByName('corvane-ready')[0].startTime);
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

const server = await serve();
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
const show = (values) => `median ${median(values).toFixed(0)} ms (min ${Math.min(...values).toFixed(0)}, max ${Math.max(...values).toFixed(0)})`;
console.log(`ready, first visit   ${show(first)} over ${runs} runs`);
console.log(`ready, later visits  ${show(later)} over ${runs} runs`);

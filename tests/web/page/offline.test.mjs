// After one visit the page and the core come from the service worker's
// cache: with the server stopped the page still loads and edits.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { launch, openPage, serve } from './harness.mjs';

test('the page works after the server is stopped', async () => {
  const server = await serve();
  const browser = await launch();
  try {
    const { page } = browser;
    await openPage(page, server.url);
    // Controlled once the worker has cached everything and claimed the page.
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => navigator.serviceWorker.controller !== null ||
      new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', () => resolve(true), { once: true }))));
    await server.stop();
    const failed = [];
    page.on('requestfailed', (request) => failed.push(request.url()));
    await openPage(page, server.url);
    await page.getByRole('button', { name: 'Phone Application Skins' }).click();
    await page.getByRole('heading', { name: /^untitled\.pdb - / }).waitFor();
    assert.equal(await page.locator('#preview-released').evaluate((c) => c.width), 320);
    assert.deepEqual(failed, []);
    assert.equal(browser.errors.length, 0, browser.errors.join('\n'));
  } finally {
    await browser.close();
    await server.stop();
  }
});

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts one browser in the engine CORVANE_ENGINE names for a whole run of
// the page tests (run.sh), prints the address the tests connect to, and
// keeps the browser until it is sent SIGTERM. Prints nothing for an engine
// whose tests start browsers of their own.
import { startRunBrowser } from './driver.mjs';

const browser = await startRunBrowser();
console.log(browser?.endpoint ?? 'none');
if (!browser) process.exit(0);
process.once('SIGTERM', async () => {
  await browser.close();
  process.exit(0);
});

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws docs/screenshots/web-skin-editor.png: the browser edition's skin
// editor in headless Chromium with a skin the tool makes (the default dial
// over a gradient). Needs scripts/build-web.sh, build/release/corvane and
// tests/web/node_modules (tests/web/run.sh installs it).
import { execFileSync } from 'node:child_process';
import { rmSync } from 'node:fs';
import path from 'node:path';
import { choose, corvane, launch, openPage, repo, serve, temporaryFolder } from '../tests/web/page/harness.mjs';
import { button, startEditor } from '../tests/web/page/actions.mjs';

const work = temporaryFolder('corvane-screenshot-');
const output = path.join(repo, 'docs/screenshots/web-skin-editor.png');
const server = await serve();
const browser = await launch();
try {
  execFileSync('convert', ['-size', '306x184', 'gradient:#3060c0-#f0d080', path.join(work, 'sky.png')]);
  corvane('skin', 'new', '--depth', '16', '-o', path.join(work, 'Default.pdb'));
  corvane('skin', 'background', path.join(work, 'Default.pdb'), path.join(work, 'sky.png'), '-o', path.join(work, 'Sky.pdb'));
  const { page } = browser;
  await page.setViewportSize({ width: 1000, height: 760 });
  await openPage(page, server.url);
  await startEditor(page, 'Phone Application Skins');
  await choose(page, () => button(page, 'Open Skin').click(), path.join(work, 'Sky.pdb'));
  await page.getByRole('heading', { name: /^Sky\.pdb - / }).waitFor();
  await page.screenshot({ path: output });
  // A palette of 256 colours keeps the picture small and the dial screens exact enough.
  execFileSync('convert', [output, '-colors', '256', `PNG8:${output}`]);
  console.log(`wrote ${path.relative(repo, output)}`);
} finally {
  await browser.close();
  await server.stop();
  rmSync(work, { recursive: true, force: true });
}

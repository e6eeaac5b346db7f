// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up: load the core, offer the two editors as the start dialog does, and
// let the editors hand over to each other.
import { loadCore } from './core.js';
import { openSkinEditor } from './skin-editor.js';
import { openSplashEditor } from './splash-editor.js';
import { catchDrops, editorForFile, kindOfDrop, refuseDrop } from './drops.js';
import { MANUAL } from './messages.js';

const screens = ['start', 'skin', 'splash'];

export function showScreen(id) {
  for (const name of screens) document.getElementById(name).hidden = name !== id;
  const heading = document.querySelector(`#${id} h1`);
  heading.tabIndex = -1;
  heading.focus();
}

// Each editor resolves with 'switch' (to the other one) or 'exit' (back to
// the start screen, the nearest a page has to ending the program).
// `opening` ({files, handle}, from a drop) is a file the editor opens at once;
// an editor that is handed a file of the other kind resolves with
// {opening} and the other editor opens it.
async function runEditors(first, opening = null) {
  let editor = first;
  for (;;) {
    const open = editor === 'skin' ? openSkinEditor : openSplashEditor;
    showScreen(editor);
    const how = await open(opening);
    opening = how?.opening ?? null;
    if (how !== 'switch' && !opening) break;
    editor = editor === 'skin' ? 'splash' : 'skin';
  }
  document.title = 'Corvane Desktop';
  showScreen('start');
}

// A new worker takes over at once (it skips waiting); when one replaces the
// worker this page came from, the page still runs the old version, so the
// user is offered a reload. The first worker of a first visit is no news.
function registerServiceWorker() {
  if (!('serviceWorker' in navigator) || location.protocol === 'file:') return;
  const workers = navigator.serviceWorker;
  if (workers.controller) {
    workers.addEventListener('controllerchange', () => {
      const offer = document.getElementById('update');
      offer.hidden = false;
      offer.querySelector('button').onclick = () => location.reload();
    }, { once: true });
  }
  workers.register('sw.js').catch((error) => console.warn('offline copy not installed:', error));
}

// The manual, shipped with the page, in a tab of its own: F1 or "?" (where
// "?" is no typing), and the Manual buttons.
function offerManual() {
  const open = () => window.open(MANUAL, '_blank', 'noopener');
  document.addEventListener('keydown', (event) => {
    const typing = event.target.closest?.('input, textarea, select, [contenteditable]');
    if (event.key !== 'F1' && (event.key !== '?' || typing || event.ctrlKey || event.metaKey || event.altKey)) return;
    event.preventDefault();
    open();
  });
  for (const button of document.querySelectorAll('button[data-manual]')) button.addEventListener('click', open);
}

async function start() {
  registerServiceWorker();
  offerManual();
  // A skin or splash file dropped on the start screen opens in its editor,
  // once the core is there to open it.
  catchDrops(async (dropped, names) => {
    if (document.body.dataset.ready !== 'true') return;
    const { files, handle } = await dropped;
    if (files.length !== 1 || kindOfDrop(files[0]) !== 'database') return refuseDrop(names, 'on the start screen');
    return runEditors(await editorForFile(files[0]), { files, handle });
  });
  const status = document.getElementById('core-status');
  let core;
  try {
    core = await loadCore();
  } catch (error) {
    status.textContent = `The editor could not start in this browser: ${error.message}`;
    return;
  }
  document.getElementById('version').textContent = `Corvane Desktop\nVersion ${core.version()}`;
  document.getElementById('about-version').append(`\nVersion ${core.version()}`);
  status.textContent = '';
  for (const [id, editor] of [['start-skins', 'skin'], ['start-splash', 'splash']]) {
    const button = document.getElementById(id);
    button.disabled = false;
    button.addEventListener('click', () => runEditors(editor));
  }
  document.body.dataset.ready = 'true';
  performance.mark('corvane-ready');
}

start();

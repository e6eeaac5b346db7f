// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up: load the core, offer the two editors as the start dialog does, and
// let the editors hand over to each other.
import { loadCore } from './core.js';
import { openSkinEditor } from './skin-editor.js';
import { openSplashEditor } from './splash-editor.js';

const screens = ['start', 'skin', 'splash'];

export function showScreen(id) {
  for (const name of screens) document.getElementById(name).hidden = name !== id;
  const heading = document.querySelector(`#${id} h1`);
  heading.tabIndex = -1;
  heading.focus();
}

// Each editor resolves with 'switch' (to the other one) or 'exit' (back to
// the start screen, the nearest a page has to ending the program).
async function runEditors(first) {
  let editor = first;
  for (;;) {
    const open = editor === 'skin' ? openSkinEditor : openSplashEditor;
    showScreen(editor);
    const how = await open();
    if (how !== 'switch') break;
    editor = editor === 'skin' ? 'splash' : 'skin';
  }
  document.title = 'Corvane Desktop';
  showScreen('start');
}

function registerServiceWorker() {
  if (!('serviceWorker' in navigator) || location.protocol === 'file:') return;
  navigator.serviceWorker.register('sw.js').catch((error) => console.warn('offline copy not installed:', error));
}

async function start() {
  registerServiceWorker();
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

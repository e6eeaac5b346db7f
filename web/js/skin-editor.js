// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin editor: previews, the depth, the four element editors, the file
// commands and the bitmap exchange, over one SkinSession of the core.
import { theCore } from './core.js';
import { acceptDrops, pickFiles } from './files.js';
import { SaveTarget, wireCommands } from './commands.js';
import { RecentFileEditor } from './recent.js';
import { runElementEditor } from './element-editors.js';
import { drawRGBA } from './pictures.js';
import { exchangeCommands } from './skin-exchange.js';
import { guardLeaving, keyboardShortcuts } from './leaving.js';
import { editorForFile, kindOfDrop, refuseDrop } from './drops.js';
import { showMessage } from './messages.js';

const screen = () => document.getElementById('skin');
const isFolder = (path) => {
  const { FS } = theCore();
  return FS.analyzePath(path).exists && FS.isDir(FS.stat(path).mode);
};
const PREVIEW_SIDE = 320;
const PREVIEWS = [[false, 'preview-released'], [true, 'preview-pressed']];

// Show Transparent Pixels: a grey-and-white checkerboard of 4 by 4 squares
// wherever the phone shows the screen behind the skin, as the desktop paints it.
function markSeeThrough(rgba, seeThrough) {
  for (let i = 0; i < seeThrough.length; i++) {
    if (!seeThrough[i]) continue;
    const [x, y] = [i % PREVIEW_SIDE, Math.floor(i / PREVIEW_SIDE)];
    const shade = (Math.floor(x / 4) + Math.floor(y / 4)) % 2 ? 204 : 255;
    rgba.fill(shade, i * 4, i * 4 + 3);
  }
}

// The pixel under the pointer and its colour as the file stores it, as the
// desktop's status bar says them, for either preview at any zoom.
function trackPointer(root) {
  const status = root.querySelector('#skin-pointer');
  for (const [pressed, id] of PREVIEWS) {
    const canvas = document.getElementById(id);
    const name = pressed ? 'Preview with all buttons pressed' : 'Preview';
    canvas.addEventListener('mousemove', (event) => {
      if (!current) return;
      // Inside the border, whatever the zoom.
      const box = canvas.getBoundingClientRect();
      const scale = canvas.clientWidth / PREVIEW_SIDE;
      const x = Math.floor((event.clientX - box.left - canvas.clientLeft) / scale);
      const y = Math.floor((event.clientY - box.top - canvas.clientTop) / scale);
      status.textContent = current.session.describePreviewPixel(pressed, name, x, y);
    });
    canvas.addEventListener('mouseleave', () => { status.textContent = ''; });
  }
}
let current = null; // the open editor, so that wiring happens once

// Dither Pictures is remembered in the browser, as the desktop keeps it in its settings.
const ditherKey = 'corvane.dither';
function rememberedDithering() {
  try { return localStorage.getItem(ditherKey) === 'diffusion'; } catch { return false; }
}
function rememberDithering(on) {
  try { localStorage.setItem(ditherKey, on ? 'diffusion' : 'none'); } catch { /* a page without storage forgets */ }
}

class SkinEditor extends RecentFileEditor {
  constructor() {
    const session = new (theCore().SkinSession)();
    super(session, new SaveTarget('Skin file', '.pdb'), 'skin');
  }

  // A bitmap set comes in by its pictures' names; the core reports the
  // pictures it missed, and the page adds the files it left out for their
  // names, which the user would otherwise never learn of.
  async run(call, paths, onAnswer) {
    const result = await super.run(call, paths, onAnswer);
    const folder = paths?.[0];
    if (result.outcome === 'Imported' && typeof folder === 'string' && isFolder(folder)) await this.tellLeftOut(folder);
    return result;
  }

  async tellLeftOut(folder) {
    const { session } = this;
    const setNames = new Set(Array.from({ length: session.elementCount() }, (_, i) => `${session.element(i).name}.bmp`));
    const leftOut = theCore().FS.readdir(folder).filter((name) => name !== '.' && name !== '..' && !setNames.has(name));
    if (!leftOut.length) return;
    const named = leftOut.length > 5 ? `${leftOut.slice(0, 5).join(', ')} and ${leftOut.length - 5} more` : leftOut.join(', ');
    await showMessage({
      caption: 'Corvane Desktop',
      icon: 'Warning',
      text: `Not imported, because no picture of a skin has this name: ${named}.\n\n`
        + 'A bitmap set\'s pictures are named as Export Bitmaps names them, such as titlebar.bmp or 5pressed.bmp.',
    });
  }

  refresh() {
    const { session } = this;
    const root = screen();
    const title = session.title();
    root.querySelector('.window-title').textContent = title;
    document.title = title;
    for (const radio of root.querySelectorAll('input[name="depth"]')) radio.checked = Number(radio.value) === session.depth();
    root.querySelector('#dither-pictures').checked = session.dithering();
    const marked = root.querySelector('#show-transparent').checked;
    for (const [pressed, id] of PREVIEWS) {
      const rgba = session.previewRGBA(pressed);
      if (marked) markSeeThrough(rgba, session.seeThrough(pressed));
      drawRGBA(document.getElementById(id), rgba, PREVIEW_SIDE, PREVIEW_SIDE);
    }
    for (const [command, can, text] of [['undo', session.canUndo(), session.undoText()], ['redo', session.canRedo(), session.redoText()]]) {
      const button = root.querySelector(`[data-command="${command}"]`);
      button.disabled = !can;
      const name = command === 'undo' ? 'Undo' : 'Redo';
      button.textContent = can && text ? `${name} ${text}` : name;
    }
    root.dataset.modified = session.modified() ? 'true' : 'false';
  }

  handlers(leave) {
    const s = this.session;
    return {
      reset: () => this.run(() => s.reset()),
      open: async () => this.open(await pickFiles({ accept: '.pdb' })),
      openRecent: () => this.openRecent(),
      save: () => this.save(false),
      saveAs: () => this.save(true),
      undo: () => this.run(() => s.undo()),
      redo: () => this.run(() => s.redo()),
      ...exchangeCommands(this),
      toSplash: () => leave('switch'),
      handOver: (opening) => leave({ opening }),
      exit: () => leave('exit'),
      about: () => document.getElementById('about').showModal(),
    };
  }
}

function wireOnce(root) {
  const editors = theCore().elementEditors();
  const row = root.querySelector('#editor-buttons');
  row.replaceChildren(...editors.map((editor, index) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = editor.title;
    button.addEventListener('click', async () => {
      await runElementEditor(current.session, { ...editor, index }, () => current.refresh());
      current.refresh();
    });
    return button;
  }));
  for (const radio of root.querySelectorAll('input[name="depth"]'))
    radio.addEventListener('change', () => current.run(() => current.session.setDepth(Number(radio.value))));
  root.querySelector('#dither-pictures').addEventListener('change', (event) => {
    current.session.setDithering(event.target.checked);
    rememberDithering(event.target.checked);
  });
  root.querySelector('#show-transparent').addEventListener('change', () => current.refresh());
  trackPointer(root);
  root.querySelector('#zoom').addEventListener('change', (event) => {
    // The element editors' pictures grow with the previews.
    document.documentElement.style.setProperty('--zoom', event.target.value);
  });
  const run = wireCommands(root, (name) => current?.commands[name]);
  // A folder, several files or a picture are a bitmap set; a skin file opens
  // here, a splash file in the splash editor; anything else is refused.
  acceptDrops(root, (dropped) => run(async () => {
    const { files, handle, folder } = await dropped;
    const kind = files.length === 1 ? kindOfDrop(files[0]) : null;
    if (folder || files.length > 1 || kind === 'picture' || kind === 'zip') return current.commands.importDropped(files);
    if (kind === 'layered') return current.commands.importLayeredDropped(files[0]);
    if (kind !== 'database') return refuseDrop(files.map((f) => f.name), 'on the skin editor');
    if ((await editorForFile(files[0])) === 'splash') return current.commands.handOver({ files, handle });
    return current.open(files, handle);
  }));
  keyboardShortcuts(root);
}

// Opens a fresh skin editor; resolves with 'switch' or 'exit' once the user
// leaves it and has answered the question about unsaved changes.
export function openSkinEditor(opening = null) {
  const root = screen();
  if (!root.dataset.wired) { wireOnce(root); root.dataset.wired = 'true'; }
  return new Promise((resolve) => {
    const editor = new SkinEditor();
    editor.session.setDithering(rememberedDithering());
    const stopGuard = guardLeaving(() => editor.session.modified());
    const leave = async (how) => {
      if (!(await editor.close(how !== 'exit'))) return;
      stopGuard();
      editor.session.delete();
      current = null;
      resolve(how);
    };
    editor.commands = editor.handlers(leave);
    current = editor;
    editor.refresh();
    if (opening) editor.open(opening.files, opening.handle);
  });
}

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin editor: previews, the depth, the four element editors, the file
// commands and the bitmap exchange, over one SkinSession of the core.
import { theCore } from './core.js';
import { acceptDrops, pickFiles } from './files.js';
import { SaveTarget, wireCommands } from './commands.js';
import { FileEditor } from './file-editor.js';
import { runElementEditor } from './element-editors.js';
import { drawRGBA } from './pictures.js';
import { exchangeCommands } from './skin-exchange.js';
import { guardLeaving, keyboardShortcuts } from './leaving.js';
import { editorForFile, kindOfDrop, refuseDrop } from './drops.js';

const screen = () => document.getElementById('skin');
let current = null; // the open editor, so that wiring happens once

// Dither Pictures is remembered in the browser, as the desktop keeps it in its settings.
const ditherKey = 'corvane.dither';
function rememberedDithering() {
  try { return localStorage.getItem(ditherKey) === 'diffusion'; } catch { return false; }
}
function rememberDithering(on) {
  try { localStorage.setItem(ditherKey, on ? 'diffusion' : 'none'); } catch { /* a page without storage forgets */ }
}

class SkinEditor extends FileEditor {
  constructor() {
    const session = new (theCore().SkinSession)();
    super(session, new SaveTarget('Skin file', '.pdb'));
  }

  refresh() {
    const { session } = this;
    const root = screen();
    const title = session.title();
    root.querySelector('.window-title').textContent = title;
    document.title = title;
    for (const radio of root.querySelectorAll('input[name="depth"]')) radio.checked = Number(radio.value) === session.depth();
    root.querySelector('#dither-pictures').checked = session.dithering();
    for (const [which, id] of [[false, 'preview-released'], [true, 'preview-pressed']])
      drawRGBA(document.getElementById(id), session.previewRGBA(which), 320, 320);
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
  root.querySelector('#zoom').addEventListener('change', (event) => {
    root.querySelector('.previews').style.setProperty('--zoom', event.target.value);
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

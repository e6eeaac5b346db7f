// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash editor: the welcome and goodbye JPEGs, each loaded (picker or
// drop), shown and saved back, and the splash file opened and saved, over one
// SplashSession of the core.
import { FileKind, baseName, freshFolder, readable, stageFile, theCore } from './core.js';
import { acceptDrops, download, pickFiles } from './files.js';
import { editorForFile, kindOfDrop, refuseDrop } from './drops.js';
import { SaveTarget, wireCommands } from './commands.js';
import { RecentFileEditor } from './recent.js';
import { guardLeaving, keyboardShortcuts } from './leaving.js';

const JPEG = '.jpg,.jpeg,image/jpeg';
const screen = () => document.getElementById('splash');
const pictureBox = (which) => screen().querySelector(`fieldset[data-image="${which}"]`);
let current = null;

class SplashEditor extends RecentFileEditor {
  constructor() {
    const session = new (theCore().SplashSession)();
    super(session, new SaveTarget('Splash file', '.pdb'), 'splash');
    this.urls = [];
  }

  showPicture(which) {
    const box = pictureBox(which);
    const source = box.querySelector('.source');
    source.dataset.empty ??= source.textContent;
    // The core knows the picture by its place in the module; the user by its name.
    source.textContent = baseName(this.session.pictureSource(which)) || source.dataset.empty;
    const img = box.querySelector('img');
    if (this.urls[which]) URL.revokeObjectURL(this.urls[which]);
    this.urls[which] = null;
    img.hidden = !this.session.hasPicture(which);
    if (img.hidden) img.removeAttribute('src');
    else img.src = this.urls[which] = URL.createObjectURL(new Blob([this.session.pictureBytes(which)], { type: 'image/jpeg' }));
    box.querySelector('[data-picture="save"]').disabled = img.hidden;
  }

  refresh() {
    const { session } = this;
    const root = screen();
    const title = session.title();
    root.querySelector('.window-title').textContent = title;
    document.title = title;
    [0, 1].forEach((which) => this.showPicture(which));
    const both = session.hasPicture(0) && session.hasPicture(1);
    for (const command of ['save', 'saveAs']) root.querySelector(`[data-command="${command}"]`).disabled = !both;
    root.querySelector('[data-command="undo"]').disabled = !session.canUndo();
    root.querySelector('[data-command="redo"]').disabled = !session.canRedo();
    root.dataset.modified = session.modified() ? 'true' : 'false';
  }

  async load(which, files) {
    if (!files.length) return;
    await this.run(() => this.session.loadPicture(which), [await stageFile(freshFolder('/in'), files[0], FileKind.Database)]);
  }

  // The desktop proposes the picture's name; a first run with the prompt
  // cancelled tells it (and gives the message when there is no picture).
  async savePicture(which) {
    const probe = await this.run(() => this.session.savePicture(which));
    const name = probe.prompts?.[0]?.proposedName;
    if (!name) return;
    const path = `${freshFolder('/out')}/${baseName(name)}`;
    await this.run(() => this.session.savePicture(which), [path]);
    if (readable(path)) download(baseName(path), theCore().FS.readFile(path), 'image/jpeg');
  }
}

function wireOnce(root) {
  const commands = {
    open: async () => current.open(await pickFiles({ accept: '.pdb' })),
    openRecent: () => current.openRecent(),
    save: () => current.save(false),
    saveAs: () => current.save(true),
    undo: () => current.run(() => current.session.undo()),
    redo: () => current.run(() => current.session.redo()),
    about: () => document.getElementById('about').showModal(),
  };
  const run = wireCommands(root, (name) => commands[name] ?? current?.leaving[name]);
  for (const which of [0, 1]) {
    const box = pictureBox(which);
    box.querySelector('[data-picture="load"]').addEventListener('click', () =>
      run(async () => current.load(which, await pickFiles({ accept: JPEG }))));
    box.querySelector('[data-picture="save"]').addEventListener('click', () => run(() => current.savePicture(which)));
    acceptDrops(box, (dropped) => run(async () => current.load(which, (await dropped).files)));
  }
  // A splash file opens here, a skin file in the skin editor; pictures go
  // on the picture they are dropped on, anything else is refused.
  acceptDrops(root, (dropped) => run(async () => {
    const { files, handle } = await dropped;
    if (files.length !== 1 || kindOfDrop(files[0]) !== 'database') return refuseDrop(files.map((f) => f.name), 'on the splash editor outside its pictures');
    if ((await editorForFile(files[0])) === 'skin') return current.leaving.handOver({ files, handle });
    return current.open(files, handle);
  }));
  keyboardShortcuts(root);
}

export function openSplashEditor(opening = null) {
  const root = screen();
  if (!root.dataset.wired) { wireOnce(root); root.dataset.wired = 'true'; }
  return new Promise((resolve) => {
    const editor = new SplashEditor();
    const stopGuard = guardLeaving(() => editor.session.modified());
    const leave = async (how) => {
      if (!(await editor.close(how !== 'exit'))) return;
      stopGuard();
      editor.urls.forEach((url) => url && URL.revokeObjectURL(url));
      editor.session.delete();
      current = null;
      resolve(how);
    };
    editor.leaving = { toSkins: () => leave('switch'), exit: () => leave('exit'), handOver: (o) => leave({ opening: o }) };
    current = editor;
    editor.refresh();
    if (opening) editor.open(opening.files, opening.handle);
  });
}

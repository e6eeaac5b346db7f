// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Import/Export commands of the skin editor: what the desktop writes into
// a folder comes back as downloads (the bitmap set as one zip), and what it
// reads from the user's files is staged into the module first.
import { FileKind, freshFolder, stageFile, theCore } from './core.js';
import { download, pickFiles, pickFilesPrompted } from './files.js';
import { filesUnder } from './commands.js';
import { makeZip } from './zip.js';

const PICTURES = '.bmp,.png,.jpg,.jpeg,.pbm,.pgm,.ppm,.pnm,.pam,image/*';

const skinBase = (session) => session.fileName().replace(/\.pdb$/i, '');

// A folder the user picked keeps its files one level deep; of two files of
// the same name the one nearer the top wins.
async function stageSet(files) {
  const folder = freshFolder('/in');
  const depth = (f) => (f.webkitRelativePath || f.name).split('/').length;
  const taken = new Set();
  for (const file of [...files].sort((a, b) => depth(a) - depth(b))) {
    if (taken.has(file.name)) continue;
    taken.add(file.name);
    await stageFile(folder, file, FileKind.Picture);
  }
  return folder;
}

async function pickPicture(title) {
  const options = { accept: PICTURES };
  const [file] = await (title ? pickFilesPrompted(title, options) : pickFiles(options));
  return file ? stageFile(freshFolder('/in'), file, FileKind.Picture) : null;
}

// The desktop's title of the prompt for the pressed dial pad: a run that
// cancels at that prompt (and so changes nothing) lists it.
function pressedPromptTitle(session, released) {
  session.answer('Ok');
  session.choose(released);
  session.choose(null);
  return session.importDialpadBitmaps().prompts?.[1]?.title ?? '';
}

export function exchangeCommands(editor) {
  const s = editor.session;
  const exportInto = async (call, deliver) => {
    const folder = freshFolder('/out');
    const result = await editor.run(call, [folder]);
    const files = filesUnder(folder);
    if (files.length) deliver(files);
    return result;
  };
  const each = (files) => files.forEach(({ name, bytes }) => download(name, bytes));
  const importFiles = async (files) => {
    if (files.length) await editor.run(() => s.importBitmaps(), [await stageSet(files)]);
  };
  const importSet = async (folder) => importFiles(await pickFiles({ accept: PICTURES, multiple: !folder, folder }));
  return {
    exportBitmaps: () => exportInto(() => s.exportBitmaps(),
      (files) => download(`${skinBase(s)}.zip`, makeZip(files), 'application/zip')),
    exportPreview: () => exportInto(() => s.exportPreview(), each),
    exportDialpad: () => exportInto(() => s.exportDialpadBitmaps(), each),
    importBitmaps: () => importSet(true),
    importBitmapFiles: () => importSet(false),
    importDropped: importFiles,
    // Both ask first; the pictures are asked for only once the user goes on.
    insertBackground: () => editor.run(() => s.insertBackground(), [],
      async (answer) => (answer === 'Ok' ? [await pickPicture()] : [])),
    importDialpad: () => editor.run(() => s.importDialpadBitmaps(), [], async (answer) => {
      if (answer !== 'Ok') return [];
      const released = await pickPicture();
      return released ? [released, await pickPicture(pressedPromptTitle(s, released))] : [null];
    }),
    exportLayered: async () => {
      const path = `${freshFolder('/out')}/${skinBase(s)}.psd`;
      await editor.run(() => s.exportLayered(), [path]);
      if (theCore().FS.analyzePath(path).exists) download(`${skinBase(s)}.psd`, theCore().FS.readFile(path));
    },
    importLayered: async () => {
      const [file] = await pickFiles({ accept: '.psd' });
      if (file) await editor.run(() => s.importLayered(), [await stageFile(freshFolder('/in'), file, FileKind.Layered)]);
    },
  };
}

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Import/Export commands of the skin editor: what the desktop writes into
// a folder comes back as one download, a zip the core writes (the bitmap set,
// the dial pads), and what it reads from the user's files is staged into the
// module first; a zipped bitmap set is read by the core too.
import { FileKind, freshFolder, pictureTypes, stageFile, theCore } from './core.js';
import { download, pickFiles, pickFilesPrompted } from './files.js';
import { filesUnder } from './commands.js';

const ZIP = /\.zip$/i;
const LAYERED = '.ora,.psd';

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
  const options = { accept: pictureTypes() };
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
  // The files a command writes into a folder, as one zip download.
  const exportZip = async (call, name) => {
    const folder = freshFolder('/out');
    const result = await editor.run(call, [folder]);
    if (filesUnder(folder).length) {
      const archive = theCore().zipFolder(folder);
      if (archive) download(name, archive, 'application/zip');
    }
    return result;
  };
  const importZip = async (file) =>
    editor.run(() => s.importBitmapZip(), [await stageFile(freshFolder('/in'), file, FileKind.Picture)]);
  // One zip is a packed set; anything else is the set's files.
  const importFiles = async (files) => {
    if (files.length === 1 && ZIP.test(files[0].name)) return importZip(files[0]);
    if (files.length) await editor.run(() => s.importBitmaps(), [await stageSet(files)]);
  };
  const importSet = async (folder) =>
    importFiles(await pickFiles({ accept: folder ? pictureTypes() : `${pictureTypes()},.zip`, multiple: !folder, folder }));
  const importLayeredFile = async (file) =>
    editor.run(() => s.importLayered(), [await stageFile(freshFolder('/in'), file, FileKind.Layered)]);
  // The format follows the name's extension, as the desktop's file dialog has it.
  const exportLayered = async (extension) => {
    const name = `${skinBase(s)}${extension}`;
    const path = `${freshFolder('/out')}/${name}`;
    await editor.run(() => s.exportLayered(), [path]);
    if (theCore().FS.analyzePath(path).exists) download(name, theCore().FS.readFile(path));
  };
  return {
    exportBitmaps: () => exportZip(() => s.exportBitmaps(), `${skinBase(s)}.zip`),
    exportPreview: async () => {
      const folder = freshFolder('/out');
      const result = await editor.run(() => s.exportPreview(), [folder]);
      filesUnder(folder).forEach(({ name, bytes }) => download(name, bytes));
      return result;
    },
    exportDialpad: () => exportZip(() => s.exportDialpadBitmaps(), `${skinBase(s)}-dialpad.zip`),
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
    exportLayered: () => exportLayered('.psd'),
    exportLayeredOra: () => exportLayered('.ora'),
    importLayered: async () => {
      const [file] = await pickFiles({ accept: LAYERED });
      if (file) await importLayeredFile(file);
    },
    importLayeredDropped: importLayeredFile,
  };
}

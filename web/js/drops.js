// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a drop means, the same on every screen: a skin or splash file opens in
// its own editor, pictures go where they are dropped (an element's slot, or,
// on the skin editor, the bitmap set), and anything else is refused with a
// message. Drops nothing takes are still caught, so that the browser never
// replaces the page with the dropped file.
import { FileKind, freshFolder, inCommand, isPictureName, stageFile, theCore } from './core.js';
import { droppedFiles } from './files.js';
import { showMessage } from './messages.js';

// 'database', 'picture', 'zip' (a packed bitmap set), 'layered' or 'other',
// by the file's name as the pickers judge it.
export function kindOfDrop(file) {
  if (/\.pdb$/i.test(file.name)) return 'database';
  if (/\.zip$/i.test(file.name)) return 'zip';
  if (/\.(ora|psd)$/i.test(file.name)) return 'layered';
  return isPictureName(file.name) ? 'picture' : 'other';
}

// 'skin' or 'splash': the editor a database file opens in, as the core tells by its header.
export function editorForFile(file) {
  return inCommand(async () => theCore().editorFor(await stageFile(freshFolder('/in'), file, FileKind.Database)));
}

export const refuseDrop = (names, where) => showMessage({
  caption: 'Corvane Desktop',
  icon: 'Warning',
  text: `${names.join(', ')} cannot be dropped ${where}. Drop a skin or splash file (.pdb) to open it, `
    + 'a picture on an element\'s picture, or a bitmap set on the skin editor.',
});

// Takes every drop of files that no part of the page took: on the start
// screen `onStart` gets what droppedFiles gives; elsewhere it is refused,
// and on an open message ignored.
export function catchDrops(onStart) {
  const hasFiles = (event) => [...(event.dataTransfer?.types ?? [])].includes('Files');
  document.addEventListener('dragover', (event) => {
    if (hasFiles(event)) event.preventDefault();
  });
  document.addEventListener('drop', (event) => {
    if (!hasFiles(event)) return;
    event.preventDefault();
    const dropped = droppedFiles(event);
    const names = [...event.dataTransfer.files].map((f) => f.name);
    const open = document.querySelector('dialog[open]');
    if (!open && !document.getElementById('start').hidden) onStart(dropped, names);
    else if (open?.id !== 'message') refuseDrop(names, 'here');
  });
}

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The WebAssembly core and the way files reach it: every file the user gives
// is written into the module's in-memory file system under /in/, as its
// bytes, which the core reads and decodes as the desktop does (pictures of
// every format included), and the commands write their results under /out/
// for the page to hand back. Both are emptied when the command that staged
// them ends (inCommand), so the module holds no file between commands.

let core = null;

export async function loadCore() {
  const { default: createCore } = await import('../corvane-core.js');
  core = await createCore();
  for (const folder of ['/in', '/out']) core.FS.mkdirTree(folder);
  return core;
}

export const theCore = () => core;

// What a picture picker offers: exactly the formats the core reads, by the core's own list.
export const pictureTypes = () => core.pictureExtensions().join(',');
export const isPictureName = (name) => core.pictureExtensions().some((extension) => name.toLowerCase().endsWith(extension));

// Which limit a file falls under, by what the command expects of it.
export const FileKind = { Database: 'database', Picture: 'picture', Layered: 'layered' };

let serial = 0;
let running = 0;

// Runs `work`, a command of the page, and removes what it staged and wrote
// once it ends, however it ends. A command run from within another leaves
// the removal to the outer one, which may still hand its files over.
export async function inCommand(work) {
  running++;
  try {
    return await work();
  } finally {
    if (--running === 0) core.endCommand();
  }
}

// The folder of a path the core keeps between commands (the opened file's,
// which Save writes back to), made again for the command that writes there.
export function folderOf(path) {
  const folder = path.slice(0, path.lastIndexOf('/'));
  if (folder) core.FS.mkdirTree(folder);
}

// A fresh folder per command, so a file of an earlier command never answers a later one.
export function freshFolder(root) {
  const folder = `${root}/${++serial}`;
  core.FS.mkdirTree(folder);
  return folder;
}

// Puts one user file into the module at folder/name and returns its path. A
// file over the core's limit for its kind is never read: the core gets a
// stand-in of that size, so the command that reads it fails with the
// desktop's message.
export async function stageFile(folder, file, kind, name = file.name) {
  const path = `${folder}/${name}`;
  if (file.size > core.fileLimit(kind)) {
    core.stageOversized(path, file.size);
    return path;
  }
  core.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
  return path;
}

export const readOut = (path) => core.FS.readFile(path);

// Whether a command wrote `path` (a save that failed or was cancelled did not).
export const readable = (path) => core.FS.analyzePath(path).exists;

export function baseName(path) {
  return path.slice(path.lastIndexOf('/') + 1);
}

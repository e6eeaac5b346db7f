// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The WebAssembly core and the way files reach it: every file the user gives
// is written into the module's in-memory file system under /in/, pictures the
// browser decodes (PNG, JPEG) are handed over as RGBA pixels as well, and the
// commands write their results under /out/ for the page to hand back.

let core = null;

export async function loadCore() {
  const { default: createCore } = await import('../corvane-core.js');
  core = await createCore();
  for (const folder of ['/in', '/out']) core.FS.mkdirTree(folder);
  return core;
}

export const theCore = () => core;

// Which limit a file falls under, by what the command expects of it.
export const FileKind = { Database: 'database', Picture: 'picture', Layered: 'layered' };

const BROWSER_DECODED = /\.(png|jpe?g)$/i;
let serial = 0;

// A fresh folder per command, so a file of an earlier command never answers a later one.
export function freshFolder(root) {
  const folder = `${root}/${++serial}`;
  core.FS.mkdirTree(folder);
  return folder;
}

// Decodes a PNG or JPEG to straight (not premultiplied) RGBA without any
// colour management, so the pixels are the file's own.
async function decodePicture(file) {
  const bitmap = await createImageBitmap(file, { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
  try {
    const { width, height } = bitmap;
    if (width * height > core.pixelLimit()) return null;
    const canvas = new OffscreenCanvas(width, height);
    const context = canvas.getContext('2d', { willReadFrequently: true });
    context.drawImage(bitmap, 0, 0);
    return { width, height, rgba: new Uint8Array(context.getImageData(0, 0, width, height).data.buffer) };
  } finally {
    bitmap.close();
  }
}

// Puts one user file into the module at folder/name and returns its path. A
// file over the core's limit for its kind is never read: the core gets a
// stand-in of that size, so the command that reads it fails with the
// desktop's message. A splash JPEG is kept as bytes only, as the core checks
// and stores it without decoding.
export async function stageFile(folder, file, kind, name = file.name) {
  const path = `${folder}/${name}`;
  if (file.size > core.fileLimit(kind)) {
    core.stageOversized(path, file.size);
    return path;
  }
  core.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
  if (kind === FileKind.Picture && BROWSER_DECODED.test(name)) {
    // A picture the browser cannot decode stays unstaged: the core's reader
    // then fails on the bytes and reports it as the desktop does.
    const picture = await decodePicture(file).catch(() => null);
    if (picture) core.stagePicture(path, picture.rgba, picture.width, picture.height);
  }
  return path;
}

export const readOut = (path) => core.FS.readFile(path);

// Whether a command wrote `path` (a save that failed or was cancelled did not).
export const readable = (path) => core.FS.analyzePath(path).exists;

export function baseName(path) {
  return path.slice(path.lastIndexOf('/') + 1);
}

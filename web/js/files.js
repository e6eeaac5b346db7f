// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Getting files from the user and handing files back: pickers, drops and
// downloads, and the File System Access handles where the browser has them.

// Resolves with the chosen files, or an empty list when the user cancels.
export function pickFiles({ accept = '', multiple = false, folder = false } = {}) {
  return new Promise((resolve) => {
    const input = document.createElement('input');
    input.type = 'file';
    input.accept = accept;
    input.multiple = multiple;
    input.webkitdirectory = folder;
    input.hidden = true;
    const done = (files) => { input.remove(); resolve(files); };
    input.addEventListener('change', () => done([...input.files]), { once: true });
    input.addEventListener('cancel', () => done([]), { once: true });
    document.body.append(input);
    input.click();
  });
}

// A browser opens a file picker only on a user's click, and one picker uses
// that click up; so a command that asks for a second file asks through this
// prompt, titled as the desktop's file dialog, whose button is a new click.
export function pickFilesPrompted(title, options) {
  const dialog = document.getElementById('file-prompt');
  dialog.querySelector('h2').textContent = title;
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => {
      resolve(dialog.returnValue === 'choose' ? pickFiles(options) : []);
    }, { once: true });
    dialog.returnValue = '';
    dialog.showModal();
  });
}

// The files of a folder entry of a drop, one level deep. A reader gives its
// entries in batches (Chromium's hold at most 100) until one comes back empty.
async function folderFiles(entry) {
  const reader = entry.createReader();
  const entries = [];
  for (;;) {
    const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (!batch.length) break;
    entries.push(...batch);
  }
  const files = entries.filter((e) => e.isFile).map((e) => new Promise((resolve, reject) => e.file(resolve, reject)));
  return Promise.all(files);
}

// The files of a drop (a dropped folder gives its files), with the writable
// handle of a single dropped file where the browser gives one, so that Save
// can write back to it.
export async function droppedFiles(event) {
  const items = [...(event.dataTransfer?.items ?? [])].filter((item) => item.kind === 'file');
  // Entries and handles must be taken before the first await: the drop's data go with it.
  const entries = items.map((item) => item.webkitGetAsEntry?.());
  const handle = items.length === 1 && items[0].getAsFileSystemHandle ? items[0].getAsFileSystemHandle() : null;
  const files = [...(event.dataTransfer?.files ?? [])];
  const folder = entries.find((entry) => entry?.isDirectory);
  if (folder) return { files: await folderFiles(folder), handle: null, folder: true };
  const fileHandle = await handle?.catch(() => null);
  return { files, handle: fileHandle?.kind === 'file' ? fileHandle : null, folder: false };
}

// Lets `element` take dropped files; `onDrop` receives, at once, the promise
// of what droppedFiles gives, so that it can mark itself busy before reading.
export function acceptDrops(element, onDrop) {
  element.addEventListener('dragover', (event) => {
    if (![...event.dataTransfer.types].includes('Files')) return;
    event.preventDefault();
    event.stopPropagation();
    element.classList.add('dropping');
  });
  element.addEventListener('dragleave', () => element.classList.remove('dropping'));
  element.addEventListener('drop', (event) => {
    event.preventDefault();
    event.stopPropagation();
    element.classList.remove('dropping');
    onDrop(droppedFiles(event));
  });
}

export function download(name, bytes, type = 'application/octet-stream') {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = Object.assign(document.createElement('a'), { href: url, download: name, hidden: true });
  document.body.append(link);
  link.click();
  link.remove();
  // The download has taken the blob by the time the click returns in every
  // current browser; revoking on the next task keeps the URL alive long enough.
  setTimeout(() => URL.revokeObjectURL(url), 0);
}

export const canWriteBack = () => typeof window.showSaveFilePicker === 'function';

// Asks where to save; null when the user cancels.
export async function askSaveHandle(suggestedName, description, extension) {
  try {
    return await window.showSaveFilePicker({
      suggestedName,
      types: [{ description, accept: { 'application/octet-stream': [extension] } }],
    });
  } catch (error) {
    if (error.name === 'AbortError') return null;
    throw error;
  }
}

// Writes through a handle; the browser keeps the old contents until close()
// succeeds, so a failed write leaves the user's file as it was.
export async function writeHandle(handle, bytes) {
  const writable = await handle.createWritable();
  try {
    await writable.write(bytes);
    await writable.close();
  } catch (error) {
    await writable.abort().catch(() => {});
    throw error;
  }
}

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Open Recent, as the desktop's File menu has it: the files each editor last
// opened or saved, kept in the browser's IndexedDB. Where the browser has the
// File System Access API the file's handle is kept too and the file opens
// again at once (after the browser asks the user's leave); elsewhere a page
// may never open a file by itself, so the name is offered and the user picks
// the file again.
import { FileEditor } from './file-editor.js';
import { pickFiles } from './files.js';

const DATABASE = 'corvane';
const STORE = 'recent';
const KEPT = 8;

function database() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(DATABASE, 1);
    request.onupgradeneeded = () => request.result.createObjectStore(STORE);
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function inStore(mode, work) {
  const db = await database();
  try {
    return await new Promise((resolve, reject) => {
      const transaction = db.transaction(STORE, mode);
      const request = work(transaction.objectStore(STORE));
      transaction.oncomplete = () => resolve(request.result);
      transaction.onerror = () => reject(transaction.error);
      transaction.onabort = () => reject(transaction.error);
    });
  } finally {
    db.close();
  }
}

// The list kept for `kind`, as [{name, handle or null}]; empty where the
// browser keeps nothing.
async function stored(kind) {
  try {
    return (await inStore('readonly', (store) => store.get(kind))) ?? [];
  } catch {
    return [];
  }
}

// [{name, handle or null}], the latest first, once the writes begun are done.
export async function recentFiles(kind) {
  await writing;
  return stored(kind);
}

// Writes wait for each other, and readers for them, but no command waits
// for a write: an editor that waited would stay busy, refusing the next
// command, after its file is already shown.
let writing = Promise.resolve();
function remember(kind, name, handle) {
  writing = writing.then(() => write(kind, name, handle)).catch(() => {});
}

async function write(kind, name, handle) {
  const list = [{ name, handle: handle ?? null }, ...(await stored(kind)).filter((entry) => entry.name !== name)].slice(0, KEPT);
  try {
    await inStore('readwrite', (store) => store.put(list, kind));
  } catch {
    // A handle the browser cannot keep: the names at least.
    await inStore('readwrite', (store) => store.put(list.map((entry) => ({ name: entry.name, handle: null })), kind)).catch(() => {});
  }
}

// The user's leave to read a kept handle, asked within the click that chose it.
async function readable(handle) {
  try {
    if ((await handle.queryPermission?.({ mode: 'readwrite' })) === 'granted') return true;
    return (await handle.requestPermission?.({ mode: 'readwrite' })) === 'granted';
  } catch {
    return false;
  }
}

// The list as a dialog: resolves with the entry chosen, or null.
function chooseRecent(list) {
  const dialog = document.getElementById('recent');
  const row = dialog.querySelector('.files');
  dialog.querySelector('.empty').hidden = list.length > 0;
  row.replaceChildren(...list.map((entry, index) => {
    const button = Object.assign(document.createElement('button'), { type: 'button', value: String(index), textContent: entry.name });
    button.addEventListener('click', () => dialog.close(String(index)));
    const item = document.createElement('li');
    item.append(button);
    return item;
  }));
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => resolve(list[Number(dialog.returnValue)] ?? null), { once: true });
    dialog.returnValue = '';
    dialog.showModal();
    (row.querySelector('button') ?? dialog.querySelector('.buttons button')).focus();
  });
}

// An editor whose opened and saved files are remembered for Open Recent.
export class RecentFileEditor extends FileEditor {
  constructor(session, target, kind) {
    super(session, target);
    this.kind = kind;
  }

  async open(files, handle = null) {
    await super.open(files, handle);
    if (files.length && this.session.fileName() === files[0].name) remember(this.kind, files[0].name, handle);
  }

  async save(asNew) {
    await super.save(asNew);
    if (!this.session.modified()) remember(this.kind, this.session.fileName(), this.target.handle);
  }

  async openRecent() {
    const entry = await chooseRecent(await recentFiles(this.kind));
    if (!entry) return;
    if (entry.handle && (await readable(entry.handle))) {
      await this.open([await entry.handle.getFile()], entry.handle);
      return;
    }
    await this.open(await pickFiles({ accept: '.pdb' }));
  }
}

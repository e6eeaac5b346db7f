// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What every command of both editors shares: running a core command with its
// questions and messages, asking for a file name where the browser cannot
// ask for a place, and handing written files back to the user.
import { showMessage, showMessages } from './messages.js';
import { askSaveHandle, canWriteBack, download, writeHandle } from './files.js';
import { baseName, inCommand, readOut, theCore } from './core.js';

// The buttons of each kind of question, and those that let the command go on
// (the core has already answered with the one that stops it).
const BUTTONS = {
  Ok: ['Ok'], OkCancel: ['Ok', 'Cancel'], YesNo: ['Yes', 'No'], YesNoCancel: ['Yes', 'No', 'Cancel'],
  YesYesToAllNoCancel: ['Yes', 'YesToAll', 'No', 'Cancel'],
};
const GOES_ON = { OkCancel: ['Ok'], YesNo: ['Yes'], YesNoCancel: ['Yes', 'No'], YesYesToAllNoCancel: ['Yes', 'YesToAll', 'No'] };

const asShown = (message) => ({ ...message, caption: message.caption ?? '', buttons: BUTTONS[message.buttons] ?? ['Ok'] });

// Runs `call` with `paths` queued for its file prompts (null: cancelled). A
// question the core could not answer is shown with the desktop's text; when
// the user's answer lets the command go on, it is queued with the earlier
// ones and the command runs again from the start (it stopped before any
// change). Then the messages of the run that finished are shown in order;
// the questions among them were the user's own answers and are not repeated.
// `onAnswer(answer)` may give more paths once an answer is known (a Yes that
// saves an untitled document needs a name only then).
export async function runCommand(session, call, paths = [], onAnswer = async () => []) {
  const answers = [];
  for (;;) {
    for (const answer of answers) session.answer(answer);
    for (const path of paths) session.choose(path);
    const result = call();
    if (result.question) {
      const answer = await showMessage(asShown(result.question));
      if (!(GOES_ON[result.question.buttons] ?? []).includes(answer)) return result;
      answers.push(answer);
      paths = [...paths, ...(await onAnswer(answer))];
      continue;
    }
    await showMessages(result.messages.filter((m) => m.buttons === 'Ok' || !m.buttons).map(asShown));
    return result;
  }
}

// Asks for a download's file name; null when the user cancels.
export function askName(suggested, extension) {
  const dialog = document.getElementById('ask-name');
  const input = dialog.querySelector('input');
  input.value = suggested;
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => {
      const name = input.value.trim();
      if (dialog.returnValue !== 'ok' || !name) return resolve(null);
      resolve(name.toLowerCase().endsWith(extension) ? name : name + extension);
    }, { once: true });
    dialog.returnValue = '';
    dialog.showModal();
    input.select();
  });
}

// Where a document is saved to: a File System Access handle where the browser
// has the API (Save writes back to it), else a download under a name.
export class SaveTarget {
  constructor(description, extension) {
    Object.assign(this, { description, extension, handle: null });
  }

  // The handle a picker or a drop gave when the file was opened, if any.
  remember(handle) { this.handle = handle ?? null; }

  // The file name to save under; null when the user cancelled.
  async choose(currentName, asNew) {
    if (!canWriteBack()) return asNew ? askName(currentName, this.extension) : currentName;
    if (asNew || !this.handle) {
      const handle = await askSaveHandle(currentName, this.description, this.extension);
      if (!handle) return null;
      this.handle = handle;
    }
    return this.handle.name;
  }

  async deliver(path) {
    const bytes = readOut(path);
    if (this.handle) await writeHandle(this.handle, bytes);
    else download(baseName(path), bytes);
  }
}

// Every file under `folder` in the module, as [{name, bytes}], names relative.
export function filesUnder(folder) {
  const { FS } = theCore();
  const found = [];
  const walk = (dir, prefix) => {
    for (const name of FS.readdir(dir)) {
      if (name === '.' || name === '..') continue;
      const path = `${dir}/${name}`;
      if (FS.isDir(FS.stat(path).mode)) walk(path, `${prefix}${name}/`);
      else found.push({ name: prefix + name, bytes: FS.readFile(path) });
    }
  };
  walk(folder, '');
  return found.sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
}

// Wires the buttons with data-command inside `root` to `handlerOf(name)`; a command
// runs only when no other is running, as the desktop's modal dialogs allow;
// meanwhile `root` is marked busy. Returns the runner, for commands that
// start otherwise (a drop).
export function wireCommands(root, handlerOf) {
  let busy = false;
  const run = async (handler) => {
    if (!handler || busy) return;
    busy = true;
    root.setAttribute('aria-busy', 'true');
    try {
      await inCommand(handler);
    } finally {
      busy = false;
      root.removeAttribute('aria-busy');
    }
  };
  root.addEventListener('click', (event) => {
    const button = event.target.closest('button[data-command]');
    if (button) run(handlerOf(button.dataset.command));
  });
  return run;
}

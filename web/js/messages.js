// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Message boxes and questions, shown in the one <dialog id="message">. The
// texts, captions, icons and buttons come from the core, as the desktop's.

const dialog = () => document.getElementById('message');

// Button names as the core gives them, and the text each button shows.
const BUTTON_TEXT = { Ok: 'OK', Cancel: 'Cancel', Yes: 'Yes', No: 'No', YesToAll: 'Yes to All', NoToAll: 'No to All' };

let queue = Promise.resolve();

// Shows `box` as a modal dialog above any already open, and keeps the keyboard
// out of those beneath until it closes: WebKit lets Tab reach a modal dialog
// under another.
export function showModalAbove(box) {
  const beneath = [...document.querySelectorAll('dialog[open]')].filter((d) => d !== box && !d.inert);
  for (const d of beneath) d.inert = true;
  box.addEventListener('close', () => { for (const d of beneath) d.inert = false; }, { once: true });
  box.showModal();
}

// Where the page keeps the user manual (web/build.sh copies it there).
export const MANUAL = 'manual/index.html';

// The desktop lists names one to a line, indented, as many as there are (a
// bitmap set's import, every picture it missed); a message box that fits a
// window shows the first few and how many more, and keeps the whole list for
// its details.
const LISTED = 5;
function shortened(text) {
  const lines = text.split('\n');
  const listed = lines.map((line, i) => (/^\s{3,}\S/.test(line) ? i : -1)).filter((i) => i >= 0);
  if (listed.length <= LISTED + 1) return { shown: text, rest: '' };
  const left = new Set(listed.slice(LISTED));
  const shown = lines.filter((_, i) => !left.has(i));
  shown.splice(listed[LISTED], 0, `     … and ${left.size} more (see Details)`);
  return { shown: shown.join('\n'), rest: listed.map((i) => lines[i].trim()).join('\n') };
}

// A message that sends the user to "the manual" links it: the page ships it.
function withManualLinked(text) {
  const parts = text.split('the manual');
  return parts.flatMap((part, i) => {
    if (i === 0) return [part];
    const link = Object.assign(document.createElement('a'), { href: MANUAL, target: '_blank', textContent: 'the manual' });
    return [link, part];
  });
}

// Shows one message; resolves with the name of the button that closed it.
// Messages wait for each other, so a command's several messages show in turn.
export function showMessage({ text, caption, icon = 'Information', buttons = ['Ok'], defaultButton, details = '' }) {
  const shown = queue.then(() => new Promise((resolve) => {
    const box = dialog();
    // A message without a caption of its own is named by its text.
    box.querySelector('.caption').textContent = caption;
    box.querySelector('.caption').hidden = !caption;
    box.setAttribute('aria-labelledby', caption ? 'message-caption' : 'message-text');
    const { shown, rest } = shortened(text);
    box.querySelector('.text').replaceChildren(...withManualLinked(shown));
    // The whole of a long list, and the core's details, folded away below.
    const more = [rest, details].filter(Boolean).join('\n');
    box.querySelector('.details').textContent = more;
    box.querySelector('.more').hidden = !more;
    box.querySelector('.more').open = false;
    box.dataset.icon = icon.toLowerCase();
    const row = box.querySelector('.buttons');
    row.replaceChildren(...buttons.map((name) => {
      const button = document.createElement('button');
      button.type = 'button';
      button.value = name;
      button.textContent = BUTTON_TEXT[name] ?? name;
      button.addEventListener('click', () => box.close(name));
      return button;
    }));
    // Esc answers as the desktop's Esc does: Cancel where there is one, else the only choice.
    const onEscape = buttons.includes('Cancel') ? 'Cancel' : buttons.includes('No') ? null : buttons[0];
    box.oncancel = (event) => { if (onEscape === null) event.preventDefault(); else box.returnValue = onEscape; };
    box.returnValue = '';
    box.addEventListener('close', () => resolve(box.returnValue || onEscape), { once: true });
    showModalAbove(box);
    const focus = row.querySelector(`button[value="${defaultButton ?? buttons[0]}"]`) ?? row.firstElementChild;
    focus?.focus();
  }));
  queue = shown.catch(() => {});
  return shown;
}

// Shows every message of a command's result in order.
export async function showMessages(messages = []) {
  for (const message of messages) await showMessage(message);
}

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Message boxes and questions, shown in the one <dialog id="message">. The
// texts, captions, icons and buttons come from the core, as the desktop's.

const dialog = () => document.getElementById('message');

// Button names as the core gives them, and the text each button shows.
const BUTTON_TEXT = { Ok: 'OK', Cancel: 'Cancel', Yes: 'Yes', No: 'No', YesToAll: 'Yes to All', NoToAll: 'No to All' };

let queue = Promise.resolve();

// Shows one message; resolves with the name of the button that closed it.
// Messages wait for each other, so a command's several messages show in turn.
export function showMessage({ text, caption, icon = 'Information', buttons = ['Ok'], defaultButton, details = '' }) {
  const shown = queue.then(() => new Promise((resolve) => {
    const box = dialog();
    // A message without a caption of its own is named by its text.
    box.querySelector('.caption').textContent = caption;
    box.querySelector('.caption').hidden = !caption;
    box.setAttribute('aria-labelledby', caption ? 'message-caption' : 'message-text');
    box.querySelector('.text').textContent = text;
    box.querySelector('.details').textContent = details;
    box.querySelector('.details').hidden = !details;
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
    box.showModal();
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

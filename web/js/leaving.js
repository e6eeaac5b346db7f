// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Leaving the page or an editor with unsaved changes, and the keyboard
// shortcuts of the editors' menus.

// Warns before the page is left while `isModified()`; returns the undoing call.
export function guardLeaving(isModified) {
  const onLeave = (event) => {
    if (!isModified()) return;
    event.preventDefault();
    event.returnValue = '';
  };
  window.addEventListener('beforeunload', onLeave);
  return () => window.removeEventListener('beforeunload', onLeave);
}

// Key (with Ctrl or Cmd) → command, as the desktop's menus bind them.
const SHORTCUTS = [
  { key: 'z', shift: false, command: 'undo' },
  { key: 'z', shift: true, command: 'redo' },
  { key: 'y', shift: false, command: 'redo' },
  { key: 'o', shift: false, command: 'open' },
  { key: 's', shift: false, command: 'save' },
  { key: 's', shift: true, command: 'saveAs' },
];

// The command a key press stands for, if any.
export function shortcutOf(event) {
  if (!(event.ctrlKey || event.metaKey) || event.altKey) return undefined;
  return SHORTCUTS.find((s) => s.key === event.key.toLowerCase() && s.shift === event.shiftKey)?.command;
}

// Presses the command's button for the shortcuts typed while `root` is shown
// and no dialog is open (a dialog's own keys belong to it), so that a
// shortcut is refused where its button is disabled or a command still runs.
export function keyboardShortcuts(root) {
  document.addEventListener('keydown', (event) => {
    if (root.hidden || document.querySelector('dialog[open]')) return;
    const command = shortcutOf(event);
    if (!command) return;
    event.preventDefault();
    root.querySelector(`button[data-command="${command}"]`)?.click();
  });
}

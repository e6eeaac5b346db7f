// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The four element editors: each shows its elements' pictures at the current
// depth with "Load Image" (picker or drop) and "Transparent Color", and, where
// the desktop has it, one button that gives the first element's colour to the rest.
import { acceptDrops, pickFiles } from './files.js';
import { FileKind, freshFolder, inCommand, pictureTypes, stageFile } from './core.js';
import { runCommand } from './commands.js';
import { chooseColour } from './chooser.js';
import { drawRGBA } from './pictures.js';
import { shortcutOf } from './leaving.js';


function picture(session, index) {
  const { width, height } = session.element(index);
  return { width, height, rgba: session.elementPicture(index) };
}

function button(text, className) {
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = text;
  b.className = className;
  return b;
}

// One element's picture and its two buttons. They sit in the group of the
// element's caption; a keypad group holds two, each in a group of its column.
function slot(session, row, owner, onChange, column) {
  const element = session.element(row.element);
  const box = document.createElement('div');
  box.className = 'slot';
  if (column) {
    box.setAttribute('role', 'group');
    box.setAttribute('aria-label', column);
    box.append(Object.assign(document.createElement('span'), { textContent: column }));
  }
  const canvas = document.createElement('canvas');
  canvas.setAttribute('role', 'img');
  canvas.setAttribute('aria-label', `${element.label} picture`);
  canvas.dataset.element = element.name;
  canvas.style.setProperty('--width', `${element.width}px`);
  // The colour that shows the wallpaper through, named with its value, which
  // is all a screen reader can tell of a swatch.
  const colour = document.createElement('span');
  colour.className = 'transparent-colour';
  const swatch = Object.assign(document.createElement('span'), { className: 'swatch' });
  swatch.setAttribute('role', 'img');
  colour.append(swatch);
  const draw = () => {
    const p = picture(session, row.element);
    drawRGBA(canvas, p.rgba, p.width, p.height);
    const { hex } = session.transparentColour(row.element);
    swatch.style.background = hex;
    swatch.setAttribute('aria-label', `Transparent color: ${hex}`);
  };
  const load = (files) => inCommand(async () => {
    if (!files.length) return;
    const path = await stageFile(freshFolder('/in'), files[0], FileKind.Picture);
    await runCommand(session, () => session.loadImage(row.element), [path]);
    draw();
    onChange();
  });
  const loadButton = button('Load Image', 'load');
  loadButton.addEventListener('click', async () => load(await pickFiles({ accept: pictureTypes() })));
  acceptDrops(box, async (dropped) => load((await dropped).files));
  const transparent = button('Transparent Color', 'transparent');
  transparent.addEventListener('click', async () => {
    await choose(session, row.element);
    draw();
    onChange();
  });
  box.append(canvas, colour, loadButton, transparent);
  owner.append(box);
  return draw;
}

// Runs the chooser on an element's current picture: {picked: {x, y} or
// null} on OK, null on Cancel.
const runChooser = (session, element) => chooseColour(picture(session, element),
  session.transparentColour(element).hex, (x, y) => session.shownColourAt(element, x, y));

async function choose(session, element) {
  // OK without a pick keeps the colour, and so changes nothing.
  const picked = (await runChooser(session, element))?.picked;
  if (picked) await runCommand(session, () => session.setTransparentAt(element, picked.x, picked.y));
}

// Keypad labels come in pairs: one group per key, released on the left.
function groupsOf(session, editor) {
  const rows = editor.elements.map(({ index, caption }) => ({ element: index, caption }));
  if (editor.layout !== 'Keypad') return rows.map((row) => ({ caption: row.caption, rows: [row] }));
  const groups = [];
  for (let i = 0; i + 1 < rows.length; i += 2)
    groups.push({ caption: rows[i].caption, rows: rows.slice(i, i + 2), columns: ['Normal:', 'Pressed:'] });
  return groups;
}

function fillEditor(session, editor, container, onChange) {
  const draws = [];
  container.className = `groups ${editor.layout}`;
  container.replaceChildren();
  for (const group of groupsOf(session, editor)) {
    const fieldset = document.createElement('fieldset');
    const legend = document.createElement('legend');
    legend.textContent = group.caption;
    fieldset.append(legend);
    group.rows.forEach((row, column) => draws.push(slot(session, row, fieldset, onChange, group.columns?.[column])));
    container.append(fieldset);
  }
  return () => draws.forEach((draw) => draw());
}

// Runs one editor modally; resolves when it is closed (OK or Esc), which, as
// on the desktop, undoes nothing.
export function runElementEditor(session, editor, onChange) {
  const dialog = document.getElementById('element-editor');
  dialog.querySelector('h2').textContent = editor.title;
  const redraw = fillEditor(session, editor, dialog.querySelector('.groups'), onChange);
  redraw();
  const share = dialog.querySelector('.share');
  share.hidden = !editor.shareText;
  share.textContent = editor.shareText;
  share.onclick = async () => {
    const picked = (await runChooser(session, editor.shareSource))?.picked;
    // Cancelled too: the others still get the source's (unchanged) colour;
    // a point outside the picture tells the core nothing was picked.
    await runCommand(session, () => session.shareTransparentAt(editor.index, picked?.x ?? -1, picked?.y ?? -1));
    redraw();
    onChange();
  };
  // The editor's undo and redo keys work here too, as on the desktop, and
  // the pictures follow; the chooser, a dialog of its own, keeps its keys.
  const onKey = async (event) => {
    const command = shortcutOf(event);
    if ((command !== 'undo' && command !== 'redo') || !dialog.contains(event.target)) return;
    event.preventDefault();
    if (!(command === 'undo' ? session.canUndo() : session.canRedo())) return;
    await runCommand(session, () => (command === 'undo' ? session.undo() : session.redo()));
    redraw();
    onChange();
  };
  dialog.addEventListener('keydown', onKey);
  const ok = dialog.querySelector('.ok');
  ok.onclick = () => dialog.close('ok');
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => {
      dialog.removeEventListener('keydown', onKey);
      resolve();
    }, { once: true });
    dialog.showModal();
    ok.focus();
  });
}

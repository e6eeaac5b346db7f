// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The transparent-colour chooser: the picture four times enlarged, a click (or
// the arrow keys and Space) picks the pixel under it, the swatch shows the
// colour as the skin file at the depth will store it, and OK gives it back.
// Picking alone changes nothing.
import { drawRGBA } from './pictures.js';
import { showModalAbove } from './messages.js';

const SCALE = 4;
const dialog = () => document.getElementById('chooser');

// Resolves on OK with {picked: {x, y} of the last pick, or null when the user
// picked nothing}, and with null on Cancel or Esc. `current` is the colour the
// swatch starts with, as '#RRGGBB'; `shownAt(x, y)` that of a pixel.
export function chooseColour({ rgba, width, height }, current, shownAt) {
  const box = dialog();
  const canvas = box.querySelector('canvas');
  const swatch = box.querySelector('.swatch');
  const pointer = box.querySelector('.pointer');
  const marker = box.querySelector('.cursor');
  drawRGBA(canvas, rgba, width, height);
  canvas.style.width = `${width * SCALE}px`;
  canvas.style.height = `${height * SCALE}px`;
  let colour = current;
  let cursor = { x: 0, y: 0 };
  let picked = null;
  const show = () => {
    swatch.style.background = colour;
    // Named with its value, which is all a screen reader can tell of a swatch.
    swatch.setAttribute('aria-label', `Chosen color: ${colour}`);
    swatch.dataset.colour = colour;
  };
  // The pixel picked or under the keyboard, outlined.
  const mark = ({ x, y }) => {
    Object.assign(marker.style, { left: `${x * SCALE}px`, top: `${y * SCALE}px` });
    marker.hidden = false;
  };
  const pick = (x, y) => {
    cursor = { x, y };
    mark(cursor);
    picked = { x, y };
    colour = shownAt(x, y);
    pointer.textContent = `${x}, ${y}: ${colour}`;
    show();
  };
  const onClick = (event) => {
    // A click beyond the picture (the canvas is never larger) picks nothing.
    const x = Math.floor(event.offsetX / SCALE);
    const y = Math.floor(event.offsetY / SCALE);
    if (x >= 0 && y >= 0 && x < width && y < height) pick(x, y);
  };
  const MOVES = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
  const onKey = (event) => {
    if (event.key === ' ') {
      event.preventDefault();
      pick(cursor.x, cursor.y);
      return;
    }
    const move = MOVES[event.key];
    if (!move) return;
    event.preventDefault();
    cursor = {
      x: Math.min(width - 1, Math.max(0, cursor.x + move[0])),
      y: Math.min(height - 1, Math.max(0, cursor.y + move[1])),
    };
    pointer.textContent = `${cursor.x}, ${cursor.y}`;
    mark(cursor);
    marker.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  };
  // The keyboard's place shows as soon as the picture has the focus.
  const onFocus = () => mark(cursor);
  canvas.addEventListener('click', onClick);
  canvas.addEventListener('keydown', onKey);
  canvas.addEventListener('focus', onFocus);
  pointer.textContent = '';
  marker.hidden = true;
  show();
  return new Promise((resolve) => {
    const onButton = (event) => {
      const button = event.target.closest('.buttons button');
      if (button) box.close(button.value);
    };
    box.addEventListener('click', onButton);
    box.addEventListener('close', () => {
      canvas.removeEventListener('click', onClick);
      canvas.removeEventListener('keydown', onKey);
      canvas.removeEventListener('focus', onFocus);
      box.removeEventListener('click', onButton);
      resolve(box.returnValue === 'ok' ? { picked } : null);
    }, { once: true });
    box.returnValue = '';
    showModalAbove(box);
    canvas.focus();
    // A window without the system's focus sends no focus event.
    if (document.activeElement === canvas) mark(cursor);
  });
}

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Drawing the core's RGBA pictures one image pixel to one canvas pixel; any
// enlargement is CSS with pixelated rendering, so no smoothing ever blends them.

export function drawRGBA(canvas, rgba, width, height) {
  canvas.width = width;
  canvas.height = height;
  const context = canvas.getContext('2d');
  context.putImageData(new ImageData(new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4), width, height), 0, 0);
}

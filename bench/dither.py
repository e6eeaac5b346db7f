# SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The pictures and the error measure of bench/dither.sh (Debian's python3-skimage).

  dither.py pictures FOLDER   writes the set as raw PPMs, and the 5-6-5 maps
  dither.py error ORIGINAL REDUCED...   prints the mean CIEDE2000 of each reduction
  dither.py figure OUT.png ROW...   the manual's picture: each ROW is three PPMs
      (original, exact, diffused) joined by commas, set side by side, doubled

The photographs are those that ship with scikit-image (astronaut: NASA, public
domain; coffee, chelsea: CC0; see skimage/data/README.txt), scaled to a dial
pad's worth of pixels; the gradients are drawn here.
"""

import sys

import numpy as np
from skimage import color, data, filters, transform

WIDTH, HEIGHT = 320, 240


def write_ppm(path, rgb):
    rgb = np.ascontiguousarray(rgb, dtype=np.uint8)
    with open(path, "wb") as out:
        out.write(b"P6\n%d %d\n255\n" % (rgb.shape[1], rgb.shape[0]))
        out.write(rgb.tobytes())


def write_pgm(path, grey):
    grey = np.ascontiguousarray(grey, dtype=np.uint8)
    with open(path, "wb") as out:
        out.write(b"P5\n%d %d\n255\n" % (grey.shape[1], grey.shape[0]))
        out.write(grey.tobytes())


def read_ppm(path):
    with open(path, "rb") as f:
        raw = f.read()
    fields, at = [], 0
    while len(fields) < 4:  # magic, width, height, maxval; no comments in what the tools write
        while raw[at:at + 1].isspace():
            at += 1
        end = at
        while not raw[end:end + 1].isspace():
            end += 1
        fields.append(raw[at:end])
        at = end
    width, height = int(fields[1]), int(fields[2])
    return np.frombuffer(raw[at + 1:at + 1 + width * height * 3], dtype=np.uint8).reshape(height, width, 3)


def photo(image):
    """The middle of the photograph at the set's aspect, scaled to its size."""
    h, w = image.shape[:2]
    crop_h = min(h, w * HEIGHT // WIDTH)
    crop_w = crop_h * WIDTH // HEIGHT
    top, left = (h - crop_h) // 2, (w - crop_w) // 2
    scaled = transform.resize(image[top:top + crop_h, left:left + crop_w], (HEIGHT, WIDTH), anti_aliasing=True)
    return np.round(scaled * 255)


def gradients():
    y, x = np.mgrid[0:HEIGHT, 0:WIDTH].astype(float)
    u, v = x / (WIDTH - 1), y / (HEIGHT - 1)
    sky = np.stack([40 + 120 * v, 90 + 110 * v, 200 + 40 * v], axis=-1)  # the bands the issue shows
    face = np.stack([180 - 60 * v, 185 - 60 * v, 195 - 50 * v], axis=-1)  # a button face: a slow grey-blue
    hue = color.hsv2rgb(np.stack([u, 0.45 + 0.35 * v, 0.55 + 0.4 * (1 - v)], axis=-1)) * 255
    r = np.hypot(u - 0.5, v - 0.5) / 0.71
    radial = np.stack([230 - 150 * r, 150 - 100 * r, 60 + 80 * r], axis=-1)
    grey = np.repeat((u * 255)[..., None], 3, axis=-1)
    return {"sky": sky, "face": face, "hues": hue, "radial": radial, "grey": grey}


def pictures(folder):
    named = {"astronaut": photo(data.astronaut()), "coffee": photo(data.coffee()), "chelsea": photo(data.chelsea())}
    named.update(gradients())
    for name, rgb in named.items():
        write_ppm(f"{folder}/{name}.ppm", np.clip(rgb, 0, 255))
    # 5-6-5 as the phone stores it (the low bits clear): each channel's levels
    # as a grey map, and all 65536 colours as one map.
    write_pgm(f"{folder}/levels5.pgm", (np.arange(32) * 8)[None, :])
    write_pgm(f"{folder}/levels6.pgm", (np.arange(64) * 4)[None, :])
    i = np.arange(65536)
    full = np.stack([(i >> 11) << 3, ((i >> 5) & 63) << 2, (i & 31) << 3], axis=-1).reshape(256, 256, 3)
    write_ppm(f"{folder}/map565.ppm", full)
    print(" ".join(named))


def error(original, reduced):
    """Mean CIEDE2000 after a small Gaussian blur (sigma 1 pixel) of both: roughly
    what the eye sees of a small screen at arm's length, where dither averages out."""
    def seen(rgb):
        return color.rgb2lab(filters.gaussian(rgb.astype(float) / 255, sigma=1, channel_axis=-1))
    return float(np.mean(color.deltaE_ciede2000(seen(original), seen(reduced))))


def figure(out, rows):
    from skimage import io  # only here: writing PNG needs a plugin the measures do not
    strips = []
    for row in rows:
        panels = [read_ppm(path) for path in row.split(",")]
        gap = np.full((panels[0].shape[0], 4, 3), 255, dtype=np.uint8)
        strips.append(np.hstack([panels[0], gap, panels[1], gap, panels[2]]))
        strips.append(np.full((4, strips[-1].shape[1], 3), 255, dtype=np.uint8))
    joined = np.vstack(strips[:-1])
    io.imsave(out, joined.repeat(2, axis=0).repeat(2, axis=1), check_contrast=False)


def main():
    if sys.argv[1] == "figure":
        figure(sys.argv[2], sys.argv[3:])
    elif sys.argv[1] == "pictures":
        pictures(sys.argv[2])
    elif sys.argv[1] == "error":
        original = read_ppm(sys.argv[2])
        print(" ".join(f"{error(original, read_ppm(path)):.3f}" for path in sys.argv[3:]))


if __name__ == "__main__":
    main()

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// libimagequant's remap to a fixed palette, for bench/dither.sh: every colour
// of the map (a raw PPM) becomes a fixed palette entry and the picture (a raw
// PPM) is remapped with its dithering at full strength.
//   liq_remap MAP.ppm IN.ppm OUT.ppm
#include <libimagequant.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static unsigned char* ReadPpm(const char* path, int* width, int* height) {
    FILE* file = fopen(path, "rb");
    int maxval = 0;
    if (!file || fscanf(file, "P6 %d %d %d", width, height, &maxval) != 3 || maxval != 255 || fgetc(file) == EOF) {
        fprintf(stderr, "liq_remap: %s is no raw PPM of maxval 255\n", path);
        exit(2);
    }
    const size_t size = (size_t)*width * (size_t)*height * 3;
    unsigned char* rgb = malloc(size);
    if (!rgb || fread(rgb, 1, size, file) != size) {
        fprintf(stderr, "liq_remap: %s is cut short\n", path);
        exit(2);
    }
    fclose(file);
    return rgb;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: liq_remap MAP.ppm IN.ppm OUT.ppm\n");
        return 2;
    }
    int mapWidth, mapHeight, width, height;
    unsigned char* map = ReadPpm(argv[1], &mapWidth, &mapHeight);
    unsigned char* rgb = ReadPpm(argv[2], &width, &height);
    unsigned char* rgba = malloc((size_t)width * height * 4);
    for (size_t i = 0; i < (size_t)width * height; ++i) {
        memcpy(rgba + 4 * i, rgb + 3 * i, 3);
        rgba[4 * i + 3] = 255;
    }
    liq_attr* attr = liq_attr_create();
    liq_image* image = liq_image_create_rgba(attr, rgba, width, height, 0);
    int entries = 0;
    for (int i = 0; i < mapWidth * mapHeight; ++i) {
        const unsigned char* c = map + 3 * i;
        int seen = 0;  // the palette repeats black and one grey; liq wants each colour once
        for (int j = 0; j < i && !seen; ++j) seen = memcmp(map + 3 * j, c, 3) == 0;
        if (seen) continue;
        liq_image_add_fixed_color(image, (liq_color){c[0], c[1], c[2], 255});
        ++entries;
    }
    liq_set_max_colors(attr, entries);
    liq_result* result;
    if (liq_image_quantize(image, attr, &result) != LIQ_OK) {
        fprintf(stderr, "liq_remap: quantisation failed\n");
        return 1;
    }
    liq_set_dithering_level(result, 1.0f);
    unsigned char* indexes = malloc((size_t)width * height);
    liq_write_remapped_image(result, image, indexes, (size_t)width * height);
    const liq_palette* palette = liq_get_palette(result);
    FILE* out = fopen(argv[3], "wb");
    fprintf(out, "P6\n%d %d\n255\n", width, height);
    for (size_t i = 0; i < (size_t)width * height; ++i) {
        const liq_color c = palette->entries[indexes[i]];
        fputc(c.r, out);
        fputc(c.g, out);
        fputc(c.b, out);
    }
    fclose(out);
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The bitmap-set zip, checked by two independent readers: Python's zipfile
// (which verifies every CRC) and Info-ZIP's unzip.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { writeFileSync, rmSync } from 'node:fs';
import path from 'node:path';
import { crc32, makeZip } from '../../../web/js/zip.js';
import { temporaryFolder } from './harness.mjs';

const bytes = (...values) => Uint8Array.from(values);
const pattern = (n) => Uint8Array.from({ length: n }, (_, i) => (i * 131 + 7) & 0xff);

test('CRC-32 of known inputs', () => {
  // The check values of the CRC-32 used by zip, PNG and gzip.
  for (const [input, expected] of [
    ['', 0x00000000],
    ['a', 0xe8b7be43],
    ['123456789', 0xcbf43926],
    ['The quick brown fox jumps over the lazy dog', 0x414fa339],
  ]) assert.equal(crc32(new TextEncoder().encode(input)), expected, JSON.stringify(input));
});

const READ_BACK = `
import json, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    bad = z.testzip()
    print(json.dumps({"bad": bad, "files": [[i.filename, i.compress_type, list(z.read(i))[:64], i.file_size,
        list(i.date_time)] for i in z.infolist()]}))
`;

const cases = [
  { name: 'no files', files: [] },
  { name: 'one empty file', files: [{ name: 'empty.bmp', bytes: bytes() }] },
  { name: 'names the bitmap set uses', files: [
    { name: '#pressed.bmp', bytes: pattern(100) }, { name: 'starpressed.bmp', bytes: pattern(3) },
    { name: '0.bmp', bytes: bytes(0, 255, 0) }] },
  { name: 'a larger picture and a folder', files: [{ name: 'set/titlebar.bmp', bytes: pattern(70000) }] },
  { name: 'a name outside ASCII', files: [{ name: 'Grün.bmp', bytes: pattern(10) }] },
];

test('archives read back with every file, stored, whole and dated', () => {
  const folder = temporaryFolder('corvane-zip-');
  try {
    for (const { name, files } of cases) {
      const archive = path.join(folder, 'set.zip');
      writeFileSync(archive, makeZip(files, new Date(2026, 11, 8, 20, 15, 42)));
      const read = JSON.parse(execFileSync('python3', ['-c', READ_BACK, archive]).toString());
      assert.equal(read.bad, null, name);
      assert.deepEqual(read.files.map((f) => f[0]), files.map((f) => f.name), name);
      read.files.forEach(([, method, start, size, date], i) => {
        assert.equal(method, 0, `${name}: stored`);
        assert.equal(size, files[i].bytes.length, name);
        assert.deepEqual(start, [...files[i].bytes.slice(0, 64)], name);
        assert.deepEqual(date, [2026, 12, 8, 20, 15, 42], name);
      });
      // unzip calls an archive without entries empty and exits with 1.
      if (files.length) execFileSync('unzip', ['-tq', archive]);
    }
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});

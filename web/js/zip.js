// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A zip archive of stored (uncompressed) entries: the bitmap set goes out as one
// download, and BMP files gain little from deflate, so the writer stays small.

const CRC_TABLE = (() => {
  const table = new Uint32Array(256);
  for (let n = 0; n < 256; n++) {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    table[n] = c >>> 0;
  }
  return table;
})();

export function crc32(bytes) {
  let crc = 0xffffffff;
  for (let i = 0; i < bytes.length; i++) crc = CRC_TABLE[(crc ^ bytes[i]) & 0xff] ^ (crc >>> 8);
  return (crc ^ 0xffffffff) >>> 0;
}

// MS-DOS time and date as the two 16-bit words the headers store; the format
// starts in 1980, so earlier clocks are clamped to it.
function dosDateTime(date) {
  const year = Math.max(1980, date.getFullYear());
  const time = (date.getHours() << 11) | (date.getMinutes() << 5) | (date.getSeconds() >> 1);
  const day = ((year - 1980) << 9) | ((date.getMonth() + 1) << 5) | date.getDate();
  return { time, day };
}

const LOCAL_HEADER = 30;
const CENTRAL_HEADER = 46;
const END_RECORD = 22;
const UTF8_NAMES = 0x0800;
const VERSION_NEEDED = 10; // stored entries need nothing newer than 1.0

// Stored sizes and offsets are 32-bit and the entry count 16-bit; a bigger
// archive would need the zip64 records this writer does not write.
const MAX_ENTRIES = 0xffff;
const MAX_BYTES = 0xffffffff;

// files: [{name, bytes: Uint8Array}] → the archive's bytes.
export function makeZip(files, date = new Date()) {
  if (files.length > MAX_ENTRIES) throw new RangeError('too many files for a zip archive');
  const encoder = new TextEncoder();
  const { time, day } = dosDateTime(date);
  const entries = files.map(({ name, bytes }) => ({ name: encoder.encode(name), bytes, crc: crc32(bytes) }));
  const dataSize = entries.reduce((sum, e) => sum + LOCAL_HEADER + e.name.length + e.bytes.length, 0);
  const directorySize = entries.reduce((sum, e) => sum + CENTRAL_HEADER + e.name.length, 0);
  const total = dataSize + directorySize + END_RECORD;
  if (total > MAX_BYTES) throw new RangeError('too large for a zip archive');

  const out = new Uint8Array(total);
  const view = new DataView(out.buffer);
  let at = 0;
  const u16 = (v) => { view.setUint16(at, v, true); at += 2; };
  const u32 = (v) => { view.setUint32(at, v, true); at += 4; };
  const put = (bytes) => { out.set(bytes, at); at += bytes.length; };
  const common = (e) => {
    u16(VERSION_NEEDED); u16(UTF8_NAMES); u16(0 /* stored */); u16(time); u16(day);
    u32(e.crc); u32(e.bytes.length); u32(e.bytes.length); u16(e.name.length); u16(0 /* extra */);
  };

  for (const e of entries) {
    e.offset = at;
    u32(0x04034b50); common(e); put(e.name); put(e.bytes);
  }
  const directoryStart = at;
  for (const e of entries) {
    u32(0x02014b50); u16(VERSION_NEEDED); common(e);
    u16(0 /* comment */); u16(0 /* disk */); u16(0 /* internal attributes */); u32(0 /* external */);
    u32(e.offset); put(e.name);
  }
  u32(0x06054b50); u16(0); u16(0); u16(entries.length); u16(entries.length);
  u32(directorySize); u32(directoryStart); u16(0 /* comment */);
  return out;
}

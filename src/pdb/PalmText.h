// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Text as the phone stores it. Palm database names are single-byte text in
// the phone's character set, Windows-1252; our file names are UTF-8.
//
// Windows-1252 is Latin-1 (bytes A0-FF are U+00A0-U+00FF, 00-7F are ASCII)
// with typographic characters in 80-9F (the euro sign at 80, curly quotes at
// 91-94, dashes at 96-97...); the five bytes 81, 8D, 8F, 90 and 9D stand for
// nothing.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// UTF-8 text in Windows-1252, one byte per character; each character the set
// lacks, and each byte that is not valid UTF-8, becomes "_".
std::string Utf8ToPalmText(std::string_view utf8);

// Windows-1252 text as UTF-8; the five bytes that stand for nothing become U+FFFD.
std::string PalmTextToUtf8(std::string_view palm);

// The Palm database name for a file: its base name up to the first '.', in
// the phone's character set, keeping at most its last 31 characters
// ("C:\skins\My.Skin.pdb" gives "My").
std::string DatabaseNameFromPath(std::string_view path);

// PalmTextToUtf8 safe for a terminal: control characters and '\' as \xNN.
std::string PrintablePalmText(std::string_view palm);

// A file name (UTF-8, or any bytes) escaped the same way for a terminal:
// control characters (C1 ones too), '\' and bytes that are no UTF-8 as \xNN.
std::string PrintableFileName(std::string_view name);

}  // namespace corvane

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The core's pictures shown by Qt.
#pragma once

#include <QImage>

#include "imaging/Image.h"

namespace corvane {

QImage ToQImage(const Image& image);

}  // namespace corvane

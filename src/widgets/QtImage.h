// The core's pictures shown by Qt.
#pragma once

#include <QImage>

#include "imaging/Image.h"

namespace corvane {

QImage ToQImage(const Image& image);

}  // namespace corvane

#include <emscripten/bind.h>

#include "io/FileAccess.h"

EMSCRIPTEN_BINDINGS(corvane) {
    emscripten::function("fileLimit", +[] { return static_cast<double>(corvane::kDatabaseFileLimit); });
}

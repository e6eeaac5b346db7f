#include "pdb/PalmDate.h"

#include <ctime>

namespace corvane {

std::uint32_t PalmNow() {
    // Conversion to an unsigned type is modulo 2^32, which is the wrap we want.
    return static_cast<std::uint32_t>(std::time(nullptr)) + PalmEpochOffset;
}

}  // namespace corvane

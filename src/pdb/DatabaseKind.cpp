#include "pdb/DatabaseKind.h"

#include "pdb/BigEndianFile.h"

namespace corvane {

DatabaseKind KindOfDatabase(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kTypeOffset = 60;
    BigEndianReader reader(bytes);
    reader.Skip(kTypeOffset);
    return reader.FourCC() == "spl3" ? DatabaseKind::Splash : DatabaseKind::Skin;
}

}  // namespace corvane

// Whole-file reads and crash-safe whole-file writes for the commands.
// Codecs never touch files; commands read bytes here, hand them to a codec,
// and hand the codec's bytes back here.
//
// A write goes to a temporary file in the target's folder and replaces the
// target only once every byte was written, flushed and closed, so a failed
// save never destroys the user's previous file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvane {

// The whole content of the file, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);

enum class WriteOutcome {
    Ok,
    CouldNotOpen,  // neither the temporary file nor the target could be created
    WriteFailed,   // created, but a write, flush, close or the final replace failed
};

WriteOutcome WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes);

// Tests force the failures that a real disk rarely shows on demand.
enum class WriteFault { None, CannotOpen, WriteFails };
void SetWriteFaultForTesting(WriteFault fault);

}  // namespace corvane

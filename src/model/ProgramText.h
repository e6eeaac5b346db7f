// Texts both editors show, each written once.
#pragma once

#include <string_view>

namespace corvane {

// The name of a document that was never opened or saved; saving it asks for a name.
inline constexpr std::string_view kUntitledPath = "untitled.pdb";

// The program's own name: the start dialog's and the splash editor's title, and
// the caption of the messages that name the program rather than their window.
inline constexpr std::string_view kProgramCaption = "Corvane Desktop";

}  // namespace corvane

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin as one layered picture of its dial screen, 320 x 320, for painting
// programs: every element is a layer named as its bitmap-set file without
// ".bmp", drawn where the phone draws it (an element drawn at several places,
// the dial button or the speed-dial buttons, at every one of them in one
// layer). Top of the stack first:
//
//   Released           visible: the released screen, last drawn on top
//   Pressed            hidden: the elements the pressed screen draws instead
//   Speed dial states  hidden: the states no preview shows, at the first
//                      speed-dial button's place
//   Screen             locked: the empty screen, which import ignores
//
// The merged image is the released preview. Transparency is alpha: export
// makes the transparent colour's pixels fully see-through; import makes
// pixels of alpha below 128 the element's transparent colour and takes the
// others' colour, then reduces to both depths as a picture file's load does
// (with the document's dithering).
// An element is read from the first place it is drawn at, whatever the
// layer's own offset and size: pixels outside that rectangle are ignored and
// pixels the layer does not cover are see-through.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Image.h"
#include "imaging/LayeredPicture.h"
#include "io/MappedFile.h"
#include "io/Result.h"
#include "model/SkinDocument.h"

namespace corvane {

class UserInterface;

inline constexpr std::string_view kScreenLayer = "Screen";
inline constexpr std::string_view kLayeredImageFilter = "Layered Image (*.ora *.psd)|*.ora;*.psd||";

enum class LayeredFormat { OpenRaster, Photoshop };

// By the path's extension, ".ora" or ".psd" in any case; nothing for others.
std::optional<LayeredFormat> LayeredFormatOf(std::string_view path);

// Whether the path names a layered image (by its extension) and the bytes are one.
bool IsLayeredFile(std::string_view path, std::span<const std::uint8_t> file);

// By the bytes: a zip is OpenRaster, "8BPS" Photoshop. Names from inside the
// file that a refusal quotes are escaped as file names are (PrintableFileName),
// and so are the reader's notices.
Result<LayeredPicture> DecodeLayeredFile(std::span<const std::uint8_t> file, const LayeredRead& read = {});

// The file read for import, mapped where the system maps files: the merged
// image left unread, each element's topmost layer taken, and any other layer
// whose pixels cannot be read left out with a notice.
Result<LayeredPicture> DecodeLayersToImport(const MappedFile& file);
Result<std::vector<std::uint8_t>> EncodeLayeredFile(const LayeredPicture& picture, LayeredFormat format);

// The dial screen of one slot set over the empty screen.
LayeredPicture SkinLayers(const SlotSet& set, const Image& background);

// The transparent colours import tries, after the element's own, in order.
inline constexpr std::array<Colour, 8> kSpareTransparentColours{{
    {0, 255, 0}, {255, 0, 255}, {0, 255, 255}, {255, 255, 0}, {0, 0, 255}, {255, 0, 0}, {255, 255, 255}, {0, 0, 0},
}};

struct LayerImport {
    std::vector<std::string_view> missing;         // elements without a layer: left as they were
    std::vector<std::string> unknown;              // layers that are no element: ignored
    std::vector<std::string_view> outside;         // elements with pixels outside their places: those ignored
    std::vector<std::string_view> newTransparent;  // elements whose colour was taken by an opaque pixel
    std::vector<std::string_view> noFreeColour;    // ... and no spare colour was free either
    std::vector<std::string_view> hidden;          // elements whose layer is hidden itself: used all the same
    std::vector<std::string_view> partlyOpaque;    // ... whose layer's opacity is below 100 %: taken as opaque
    std::vector<std::string_view> duplicated;      // ... with more than one layer: the topmost taken
    std::vector<std::string> fromReader;           // the reader's notices, sentences

    bool Quiet() const {
        return missing.empty() && unknown.empty() && outside.empty() && newTransparent.empty() && noFreeColour.empty() &&
               hidden.empty() && partlyOpaque.empty() && duplicated.empty() && fromReader.empty();
    }
};

// Every element with a layer into both slots; see above.
LayerImport ApplyLayers(SkinDocument& document, const LayeredPicture& picture);

// What an import has to tell: for each kind of thing, a heading and the names,
// every name escaped for printing (a layer's name comes from inside the file).
struct ImportNotice {
    std::string heading;
    std::vector<std::string> names;
};
std::vector<ImportNotice> LayerImportNotices(const LayerImport& import);

// The notices as one message, a paragraph each; empty when nothing.
std::string LayerImportText(const LayerImport& import);

// ---- the editor's commands ----------------------------------------------------

// Export Layered Image: asks for the file, writes the target depth's set. A
// failed write leaves any earlier file as it was and is told. True when written.
bool ExportLayeredImage(const SkinDocument& document, UserInterface& user);

// Import Layered Image: asks for the file, reads it into both sets and marks
// the skin modified; tells what was missing, unknown or recoloured, or why
// the file could not be read (the skin then is unchanged). True when imported.
bool ImportLayeredImage(SkinDocument& document, UserInterface& user);

}  // namespace corvane

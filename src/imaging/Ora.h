// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// OpenRaster layered pictures, the painting programs' open format: a zip
// archive laid out as
//
//   mimetype                  first, stored uncompressed: "image/openraster"
//   stack.xml                 the layer stack (below)
//   data/layerN.png           one RGBA PNG per layer, cropped to its pixels or not
//   mergedimage.png           the whole canvas as it looks
//   Thumbnails/thumbnail.png  the same, within 256 x 256
//
//   <image w="320" h="320" version="0.0.3">
//     <stack>                                 the root stack, top first
//       <stack name="G" visibility="hidden">  a group, nested to any depth
//         <layer name="L" src="data/layer0.png" x="6" y="90" visibility="visible"/>
//       </stack>
//       <layer name="S" src="..." edit-locked="true" .../>
//     </stack>
//   </image>
//
// The zip goes through io/ZipArchive and the XML through pugixml. Reading is
// bounded: at most kLayeredFileLimit bytes held in memory, or
// kLayeredMappedFileLimit mapped (of which only the directory and the
// entries read count), every entry's declared size checked before it is
// inflated and the inflated bytes of all entries together at most
// kLayeredFileLimit, kLayeredPixelLimit pixels over all layers, all of it
// held within kLayeredMemoryLimit together with the file, and an archive with
// an entry name that leads out of it ("../x", "/x", "C:x") is refused whole.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/LayeredPicture.h"
#include "io/Result.h"
#include "io/ZipArchive.h"

namespace corvane {

inline constexpr std::string_view kOraMimeType = "image/openraster";

// The layers, groups and merged image of the archive. Layers whose kind we
// do not draw (text, filters) are skipped; a layer without a readable PNG
// refuses the file when the caller takes it, and is left out with a notice
// when not (LayeredRead); a merged image that cannot be read is left out with
// a notice. More than kLayeredLayerLimit layers and groups, or a stack.xml
// past a few megabytes, are refused before any layer is read.
Result<LayeredPicture> DecodeOra(std::span<const std::uint8_t> file, const LayeredRead& read = {});

// The archive of the picture, its thumbnail shrunk from the merged image.
Result<std::vector<std::uint8_t>> EncodeOra(const LayeredPicture& picture);

}  // namespace corvane

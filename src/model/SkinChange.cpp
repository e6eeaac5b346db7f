// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SkinChange.h"

namespace corvane {

SkinState CaptureSkin(const SkinDocument& document) {
    return SkinState{document.Set(Depth::Eight),           document.Set(Depth::Sixteen),         document.FilePath(),
                     document.HasUnsupportedResources(), document.MustSaveAs(), document.TargetDepth()};
}

SkinChange SkinChange::Between(const SkinState& before, const SkinState& after) {
    SkinChange change;
    for (const Depth depth : kDepths) {
        const SlotSet& from = depth == Depth::Eight ? before.set8 : before.set16;
        const SlotSet& to = depth == Depth::Eight ? after.set8 : after.set16;
        for (const SkinElement& e : kSkinElements) {
            const std::size_t at = Index(e.element);
            if (!(from[at] == to[at])) change.slots_.push_back({depth, e.element, from[at], to[at]});
        }
    }
    if (before.filePath != after.filePath) change.filePath_.emplace(before.filePath, after.filePath);
    if (before.hasUnsupportedResources != after.hasUnsupportedResources)
        change.unsupported_.emplace(before.hasUnsupportedResources, after.hasUnsupportedResources);
    if (before.mustSaveAs != after.mustSaveAs) change.mustSaveAs_.emplace(before.mustSaveAs, after.mustSaveAs);
    if (before.targetDepth != after.targetDepth) change.depth_.emplace(before.targetDepth, after.targetDepth);
    return change;
}

void SkinChange::Apply(SkinDocument& document, bool after) const {
    // Assigned in place: the element editors keep references to the slots.
    for (const SlotChange& slot : slots_) document.Slot(slot.depth, slot.element) = after ? slot.after : slot.before;
    if (filePath_) document.SetFilePath(after ? filePath_->second : filePath_->first);
    if (unsupported_) document.SetHasUnsupportedResources(after ? unsupported_->second : unsupported_->first);
    if (mustSaveAs_) document.SetMustSaveAs(after ? mustSaveAs_->second : mustSaveAs_->first);
    if (depth_) document.SetTargetDepth(after ? depth_->second : depth_->first);
}

}  // namespace corvane

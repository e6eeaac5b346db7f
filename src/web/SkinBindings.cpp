// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's skin session: the skin editor's commands over SkinSession, with
// the element editors' tables and the pictures the page draws.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <array>
#include <string>

#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "exchange/LayeredImage.h"
#include "model/ElementDialogTables.h"
#include "model/ElementEditing.h"
#include "model/PreviewComposition.h"
#include "model/ShownColour.h"
#include "model/SkinSession.h"
#include "web/PageSession.h"
#include "web/PageValues.h"

namespace corvane {
namespace {

using emscripten::val;

// The four element editors in the order of the main window's buttons; the page names one by its place here.
constexpr std::array<const ElementDialogTable*, 4> kEditors{&kKeypadButtonsTable, &kKeypadTextTable, &kSpeedDialTable,
                                                            &kTitleTable};

const char* Name(ElementLayout layout) {
    switch (layout) {
        case ElementLayout::SideBySide: return "SideBySide";
        case ElementLayout::Keypad: return "Keypad";
        case ElementLayout::Stacked: return "Stacked";
        case ElementLayout::StackedWide: return "StackedWide";
    }
    return "";
}

val ElementEditors() {
    val editors = val::array();
    for (const ElementDialogTable* table : kEditors) {
        val editor = val::object();
        editor.set("title", std::string(table->title));
        editor.set("shareText", std::string(table->shareText));
        // The picture the share button's chooser shows is the one its colour comes from.
        editor.set("shareSource", static_cast<int>(Index(table->shareSource)));
        editor.set("layout", Name(table->layout));
        val rows = val::array();
        for (const ElementRow& row : table->rows) {
            val entry = val::object();
            entry.set("index", static_cast<int>(Index(row.element)));
            entry.set("caption", std::string(Caption(row)));
            rows.call<void>("push", entry);
        }
        editor.set("elements", rows);
        editors.call<void>("push", editor);
    }
    return editors;
}

bool Valid(int i) { return i >= 0 && i < kElementCount; }
Element ElementOf(int i) { return kSkinElements[static_cast<std::size_t>(i)].element; }
std::string Labelled(const char* text, int i) {
    return std::string(text) + " (" + std::string(kSkinElements[static_cast<std::size_t>(i)].label) + ")";
}
const ElementDialogTable* TableAt(int editor) {
    return editor >= 0 && editor < static_cast<int>(kEditors.size()) ? kEditors[static_cast<std::size_t>(editor)]
                                                                     : nullptr;
}

}  // namespace

class PageSkinSession : public PageSession<SkinSession> {
public:
    int DepthBits() const { return Bits(depth()); }
    int ElementCount() const { return kElementCount; }
    val ElementAt(int i) const {
        if (!Valid(i)) return val::null();
        const SkinElement& e = kSkinElements[static_cast<std::size_t>(i)];
        val element = val::object();
        element.set("index", i);
        element.set("name", std::string(e.name));
        element.set("label", std::string(e.label));
        element.set("width", e.width);
        element.set("height", e.height);
        return element;
    }
    val ElementPicture(int i) const { return Valid(i) ? RgbaArray(document().Slot(depth(), i).Picture()) : val::null(); }
    val TransparentColour(int i) const {
        if (!Valid(i)) return val::null();
        const Colour c = document().Slot(depth(), i).Transparent();
        val colour = val::object();
        colour.set("r", c.r);
        colour.set("g", c.g);
        colour.set("b", c.b);
        colour.set("hex", ShownColour(c, depth()));
        return colour;
    }
    // What the page says of a pixel, as the desktop's status bar and swatches:
    // the colour as the skin file at the depth stores it.
    std::string ShownColourAt(int i, int x, int y) const {
        if (!Valid(i) || !document().Slot(depth(), i).Picture().Contains(x, y)) return {};
        return ShownColour(document().Slot(depth(), i).Picture().At(x, y), depth());
    }
    std::string DescribePreviewPixel(bool pressed, const std::string& name, int x, int y) const {
        return PixelDescription(name, pressed ? document().PressedPreview() : document().ReleasedPreview(), x, y, depth());
    }
    // One byte a pixel of the preview, 1 where the phone shows the wallpaper through.
    val SeeThrough(bool pressed) const {
        const std::vector<bool> marks = SeeThroughPixels(document(), depth(), pressed);
        const std::vector<std::uint8_t> bytes(marks.begin(), marks.end());
        return ByteArray(bytes);
    }
    val Preview(bool pressed) const {
        return RgbaArray(pressed ? document().PressedPreview() : document().ReleasedPreview());
    }

    val Reset() { return Done(session_.Reset() ? "Reset" : "Cancelled"); }
    val Open(val path) { return Done(Name(session_.Open(OptionalPath(path)))); }
    val Save() { return Done(Name(session_.Save())); }
    val SaveAs() { return Done(Name(session_.SaveAs())); }
    val SetDepth(int bits) {
        const std::optional<Depth> chosen = DepthOfBits(bits);
        if (!chosen) return Done("Refused");
        session_.SetDepth(*chosen);
        return Done("Changed");
    }
    // Dither Pictures: how pictures entering a slot from now on are reduced; no undo step.
    bool Dithering() const { return session_.Dithering() == Dither::Diffusion; }
    void SetDithering(bool on) { session_.SetDithering(on ? Dither::Diffusion : Dither::None); }
    val LoadImage(int i) {
        if (!Valid(i)) return Done("Refused");
        ElementLoadOutcome outcome = ElementLoadOutcome::Cancelled;
        session_.Record(Labelled("Load Image", i),
                        [&] { outcome = LoadElementImage(session_.Document(), user_, ElementOf(i)); });
        return Done(Name(outcome));
    }
    // The colour chooser confirmed on the pixel (x, y) of the element's picture at the current depth.
    val SetTransparentAt(int i, int x, int y) {
        if (!Valid(i) || !document().Slot(depth(), i).Picture().Contains(x, y)) return Done("Refused");
        session_.Record(Labelled("Transparent Color", i), [&] { PickTransparent(i, x, y); });
        return Done("Changed");
    }
    // The colour chooser confirmed without a click: the colour stays, the skin counts as changed.
    val ConfirmTransparent(int i) {
        if (!Valid(i)) return Done("Refused");
        session_.Record(Labelled("Transparent Color", i), [&] { session_.Document().MarkModified(); });
        return Done("Changed");
    }
    // The share button: the chooser on the editor's source (a pixel outside
    // its picture is the chooser cancelled), then its colour to the others.
    val ShareTransparentAt(int editor, int x, int y) {
        const ElementDialogTable* table = TableAt(editor);
        if (!table || table->shareText.empty()) return Done("Refused");
        const int source = static_cast<int>(Index(table->shareSource));
        session_.Record(std::string(table->shareText), [&] {
            if (document().Slot(depth(), source).Picture().Contains(x, y)) PickTransparent(source, x, y);
            ShareTransparentColour(session_.Document(), table->shareSource, table->shareTargets);
        });
        return Done("Changed");
    }

    val ExportBitmapSet() { return Finish(Name(ExportBitmaps(document(), user_))); }
    val ExportPreviewPicture() { return Finish(Name(ExportPreview(document(), user_))); }
    val ExportDialpad() { return Finish(Name(ExportDialpadBitmaps(document(), user_))); }
    val ImportBitmapSet() {
        bool chosen = false;
        session_.Record("Import Bitmaps", [&] { chosen = ImportBitmaps(session_.Document(), user_); });
        return Done(chosen ? "Imported" : "Cancelled");
    }
    val ImportBitmapZip() {
        ArchiveImportOutcome outcome = ArchiveImportOutcome::Cancelled;
        session_.Record("Import Bitmaps", [&] { outcome = ImportBitmapsFromArchive(session_.Document(), user_); });
        return Done(Name(outcome));
    }
    val InsertBackgroundImage() {
        return Dialpad("Insert Background Image", [this] { return InsertBackground(session_.Document(), user_); });
    }
    val ImportDialpad() {
        return Dialpad("Import Dialpad Bitmaps", [this] { return ImportDialpadBitmaps(session_.Document(), user_); });
    }
    val ExportLayered() { return Finish(ExportLayeredImage(document(), user_) ? "Exported" : "NotExported"); }
    val ImportLayered() {
        bool imported = false;
        session_.Record("Import Layered Image", [&] { imported = ImportLayeredImage(session_.Document(), user_); });
        return Done(imported ? "Imported" : "NotImported");
    }
    // Exit, or the other editor: asked first when modified, Yes saves first.
    val Close(bool) { return Done(session_.MayLeave() ? "Closed" : "Stayed"); }
    val Undo() { return Done(session_.Undo() ? "Ok" : "Nothing"); }
    val Redo() { return Done(session_.Redo() ? "Ok" : "Nothing"); }

private:
    const SkinDocument& document() const { return session_.Document(); }
    Depth depth() const { return document().TargetDepth(); }
    void PickTransparent(int i, int x, int y) {
        ImageSlot& slot = session_.Document().Slot(depth(), i);
        slot.SetTransparent(slot.Picture().At(x, y));
        session_.Document().MarkModified();
    }
    // The page redraws both previews after every command, as the window does after an undo.
    val Done(const char* outcome) {
        session_.RecomposePreviews();
        return Finish(outcome);
    }
    // These compose the previews from the 16-bit set themselves, and the
    // page shows them as composed.
    template <class Command>
    val Dialpad(const char* text, Command command) {
        DialpadOutcome outcome = DialpadOutcome::Cancelled;
        session_.Record(text, [&] { outcome = command(); });
        return Finish(Name(outcome));
    }
};

}  // namespace corvane

EMSCRIPTEN_BINDINGS(corvane_skin) {
    using namespace emscripten;
    using namespace corvane;
    function("elementEditors", &ElementEditors);
    PageSession<SkinSession>::Bind("SkinSessionCommon");
    class_<PageSkinSession, base<PageSession<SkinSession>>>("SkinSession")
        .constructor<>()
        .function("depth", &PageSkinSession::DepthBits)
        .function("elementCount", &PageSkinSession::ElementCount)
        .function("element", &PageSkinSession::ElementAt)
        .function("elementPicture", &PageSkinSession::ElementPicture)
        .function("transparentColour", &PageSkinSession::TransparentColour)
        .function("previewRGBA", &PageSkinSession::Preview)
        .function("shownColourAt", &PageSkinSession::ShownColourAt)
        .function("describePreviewPixel", &PageSkinSession::DescribePreviewPixel)
        .function("seeThrough", &PageSkinSession::SeeThrough)
        .function("reset", &PageSkinSession::Reset)
        .function("open", &PageSkinSession::Open)
        .function("save", &PageSkinSession::Save)
        .function("saveAs", &PageSkinSession::SaveAs)
        .function("setDepth", &PageSkinSession::SetDepth)
        .function("dithering", &PageSkinSession::Dithering)
        .function("setDithering", &PageSkinSession::SetDithering)
        .function("loadImage", &PageSkinSession::LoadImage)
        .function("setTransparentAt", &PageSkinSession::SetTransparentAt)
        .function("confirmTransparent", &PageSkinSession::ConfirmTransparent)
        .function("shareTransparentAt", &PageSkinSession::ShareTransparentAt)
        .function("exportBitmaps", &PageSkinSession::ExportBitmapSet)
        .function("importBitmaps", &PageSkinSession::ImportBitmapSet)
        .function("importBitmapZip", &PageSkinSession::ImportBitmapZip)
        .function("exportPreview", &PageSkinSession::ExportPreviewPicture)
        .function("exportDialpadBitmaps", &PageSkinSession::ExportDialpad)
        .function("insertBackground", &PageSkinSession::InsertBackgroundImage)
        .function("importDialpadBitmaps", &PageSkinSession::ImportDialpad)
        .function("exportLayered", &PageSkinSession::ExportLayered)
        .function("importLayered", &PageSkinSession::ImportLayered)
        .function("close", &PageSkinSession::Close)
        .function("undo", &PageSkinSession::Undo)
        .function("redo", &PageSkinSession::Redo);
}

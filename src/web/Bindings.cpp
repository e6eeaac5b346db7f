// The browser edition's view of the core: a skin and a splash session that
// run the commands the desktop editor runs, on files in the module's memory
// file system, with the desktop's undo steps, texts and outcomes. The page
// shows what the sessions hold and asks the user; see WebUserInterface.h for
// how a command gets its answers.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "exchange/LayeredImage.h"
#include "io/PathNames.h"
#include "model/ChangeHistory.h"
#include "model/ElementDialogTables.h"
#include "model/ElementEditing.h"
#include "model/PreviewComposition.h"
#include "model/ProgramText.h"
#include "model/ShownColour.h"
#include "model/SkinChange.h"
#include "model/SkinFile.h"
#include "model/SplashChange.h"
#include "model/SplashFile.h"
#include "web/PageFiles.h"
#include "web/WebUserInterface.h"

namespace corvane {
namespace {

using emscripten::val;

// The four element editors in the order of the main window's buttons; the page names one by its place here.
constexpr std::array<const ElementDialogTable*, 4> kEditors{&kKeypadButtonsTable, &kKeypadTextTable, &kSpeedDialTable,
                                                            &kTitleTable};

// ---- pictures out ------------------------------------------------------------------

val RgbaArray(const Image& image) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(image.Pixels().size() * 4);
    for (const Colour c : image.Pixels()) bytes.insert(bytes.end(), {c.r, c.g, c.b, 255});
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

val Bytes(const std::vector<std::uint8_t>& bytes) {
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

val ElementEditors() {
    val editors = val::array();
    for (const ElementDialogTable* table : kEditors) {
        val editor = val::object();
        editor.set("title", std::string(table->title));
        editor.set("shareText", std::string(table->shareText));
        constexpr const char* kLayouts[] = {"SideBySide", "Keypad", "Stacked", "StackedWide"};
        editor.set("layout", kLayouts[static_cast<int>(table->layout)]);
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

std::string UntitledPath() { return std::string(kUntitledPath); }
std::string Version() { return CORVANE_VERSION; }

}  // namespace

// ---- the two sessions -------------------------------------------------------------------

// What both sessions share: the user's answers, the undo steps and their texts.
template <class Document, class Change>
class Session {
public:
    // A path for the next prompt; null or undefined cancels it.
    void Choose(val path) {
        user_.QueuePath(path.isString() ? std::optional(path.as<std::string>()) : std::nullopt);
    }
    bool Answer(std::string name) { return user_.QueueAnswer(name); }
    bool Modified() const { return document_.IsModified(); }
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::string UndoText() const { return history_.UndoText(); }
    std::string RedoText() const { return history_.RedoText(); }

protected:
    Document document_;
    WebUserInterface user_;
    ChangeHistory<Document, Change> history_{document_};
};

class SkinSession : public Session<SkinDocument, SkinChange> {
public:
    SkinSession() { Refresh(); }

    std::string Title() const { return WindowTitle(document_.FilePath(), document_.IsModified()); }
    std::string FilePath() const { return document_.FilePath(); }
    std::string FileName() const { return LastPathComponent(document_.FilePath()); }
    int Depth() const { return document_.TargetDepth(); }
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
    val ElementPicture(int i) const { return Valid(i) ? RgbaArray(document_.Slot(Depth(), i).Picture()) : val::null(); }
    val TransparentColour(int i) const {
        if (!Valid(i)) return val::null();
        const Colour c = document_.Slot(Depth(), i).Transparent();
        val colour = val::object();
        colour.set("r", c.r);
        colour.set("g", c.g);
        colour.set("b", c.b);
        colour.set("hex", ShownColour(c, Depth()));
        return colour;
    }
    val Preview(bool pressed) const { return RgbaArray(pressed ? document_.PressedPreview() : document_.ReleasedPreview()); }

    val Reset() {
        bool reset = false;
        history_.Run("Reset", [&] { reset = ResetSkin(document_, user_); });
        if (reset) history_.MarkReset();
        return Done(reset ? "Reset" : "Cancelled");
    }
    val Open(val path) {
        const auto chosen = path.isString() ? std::optional(path.as<std::string>()) : std::nullopt;
        const OpenSkinOutcome outcome = OpenSkin(document_, user_, chosen);
        if (outcome == OpenSkinOutcome::Opened) {
            // Another file: nothing of the previous one can be undone into it.
            history_.Forget();
            history_.MarkSaved();
        }
        return Done(Name(outcome));
    }
    val Save() { return Saved(SaveSkin(document_, user_)); }
    val SaveAs() { return Saved(SaveSkinAs(document_, user_)); }
    val SetDepth(int depth) {
        history_.Run("Color Depth", [&] { document_.SetTargetDepth(depth); });
        return Done(Depth() == depth ? "Changed" : "Refused");
    }
    val LoadImage(int i) {
        if (!Valid(i)) return Done("Refused");
        ElementLoadOutcome outcome = ElementLoadOutcome::Cancelled;
        history_.Run(Labelled("Load Image", i), [&] { outcome = LoadElementImage(document_, user_, ElementOf(i)); });
        constexpr const char* kNames[] = {"Cancelled", "Loaded", "Failed"};
        return Done(kNames[static_cast<int>(outcome)]);
    }
    // The colour chooser confirmed on the pixel (x, y) of the element's picture at the current depth.
    val SetTransparentAt(int i, int x, int y) {
        if (!Valid(i) || !document_.Slot(Depth(), i).Picture().Contains(x, y)) return Done("Refused");
        history_.Run(Labelled("Transparent Color", i), [&] { PickTransparent(i, x, y); });
        return Done("Changed");
    }
    // The colour chooser confirmed without a click: the colour stays, the skin counts as changed.
    val ConfirmTransparent(int i) {
        if (!Valid(i)) return Done("Refused");
        history_.Run(Labelled("Transparent Color", i), [&] { document_.MarkModified(); });
        return Done("Changed");
    }
    // The share button: the chooser on the editor's source (a pixel outside
    // its picture is the chooser cancelled), then its colour to the others.
    val ShareTransparentAt(int editor, int x, int y) {
        const ElementDialogTable* table = TableAt(editor);
        if (!table || table->shareText.empty()) return Done("Refused");
        const int source = static_cast<int>(Index(table->shareSource));
        history_.Run(std::string(table->shareText), [&] {
            if (document_.Slot(Depth(), source).Picture().Contains(x, y)) PickTransparent(source, x, y);
            ShareTransparentColour(document_, table->shareSource, table->shareTargets);
        });
        return Done("Changed");
    }

    val ExportBitmapSet() { return Exported(ExportBitmaps(document_, user_)); }
    val ExportPreviewPicture() { return Exported(ExportPreview(document_, user_)); }
    val ExportDialpad() { return Exported(ExportDialpadBitmaps(document_, user_)); }
    val ImportBitmapSet() {
        bool chosen = false;
        history_.Run("Import Bitmaps", [&] { chosen = ImportBitmaps(document_, user_); });
        return Done(chosen ? "Imported" : "Cancelled");
    }
    val InsertBackgroundImage() {
        return Dialpad("Insert Background Image", [this] { return InsertBackground(document_, user_); });
    }
    val ImportDialpad() {
        return Dialpad("Import Dialpad Bitmaps", [this] { return ImportDialpadBitmaps(document_, user_); });
    }
    val ExportLayered() { return Done(ExportLayeredImage(document_, user_) ? "Exported" : "NotExported"); }
    val ImportLayered() {
        bool imported = false;
        history_.Run("Import Layered Image", [&] { imported = ImportLayeredImage(document_, user_); });
        return Done(imported ? "Imported" : "NotImported");
    }
    // Exit, or the other editor: asked first when modified, Yes saves first.
    val Close(bool) {
        const bool leave = MayLeave(user_, document_.IsModified(), kLeaveSkinQuestion, [this] {
            const SaveSkinOutcome outcome = SaveSkin(document_, user_);
            if (outcome == SaveSkinOutcome::Saved) history_.MarkSaved();
            return outcome == SaveSkinOutcome::Saved;
        });
        return Done(leave ? "Closed" : "Stayed");
    }
    val Undo() { return Done(history_.Undo() ? "Ok" : "Nothing"); }
    val Redo() { return Done(history_.Redo() ? "Ok" : "Nothing"); }

private:
    static bool Valid(int i) { return i >= 0 && i < kElementCount; }
    static Element ElementOf(int i) { return kSkinElements[static_cast<std::size_t>(i)].element; }
    static std::string Labelled(const char* text, int i) {
        return std::string(text) + " (" + std::string(kSkinElements[static_cast<std::size_t>(i)].label) + ")";
    }
    static const ElementDialogTable* TableAt(int editor) {
        return editor >= 0 && editor < static_cast<int>(kEditors.size()) ? kEditors[static_cast<std::size_t>(editor)]
                                                                         : nullptr;
    }
    void PickTransparent(int i, int x, int y) {
        ImageSlot& slot = document_.Slot(Depth(), i);
        slot.SetTransparent(slot.Picture().At(x, y));
        document_.MarkModified();
    }
    void Refresh() { ComposePreviews(document_, document_.TargetDepth()); }
    // The window recomposes both previews after every command, as after an undo.
    val Done(const std::string& outcome) {
        Refresh();
        return user_.Finish(outcome);
    }
    val Saved(SaveSkinOutcome outcome) {
        if (outcome == SaveSkinOutcome::Saved) history_.MarkSaved();
        constexpr const char* kNames[] = {"Cancelled", "Declined", "CouldNotOpen", "WriteFailed", "Saved"};
        return Done(kNames[static_cast<int>(outcome)]);
    }
    static const char* Name(OpenSkinOutcome outcome) {
        constexpr const char* kNames[] = {"Cancelled", "CouldNotOpen", "CarrierLogo", "Opened"};
        return kNames[static_cast<int>(outcome)];
    }
    val Exported(ExportOutcome outcome) {
        constexpr const char* kNames[] = {"Cancelled", "Exported", "Stopped", "NotAllExported"};
        return user_.Finish(kNames[static_cast<int>(outcome)]);
    }
    // These compose the previews from the 16-bit set themselves, and the
    // window shows them as composed.
    template <class Command>
    val Dialpad(const char* text, Command command) {
        DialpadOutcome outcome = DialpadOutcome::Cancelled;
        history_.Run(text, [&] { outcome = command(); });
        constexpr const char* kNames[] = {"Cancelled", "CouldNotOpen", "Changed"};
        return user_.Finish(kNames[static_cast<int>(outcome)]);
    }
};

class SplashSession : public Session<SplashDocument, SplashChange> {
public:
    std::string Title() const { return WindowTitle(document_.FileName(), document_.IsModified()); }
    std::string FileName() const { return document_.FileName(); }
    bool HasPicture(int which) const { return document_.HasImage(IdOf(which)); }
    val PictureBytes(int which) const {
        const SplashPicture* picture = document_.Picture(IdOf(which));
        return picture ? Bytes(picture->bytes) : val::null();
    }
    std::string PictureSource(int which) const { return document_.Source(IdOf(which)); }

    val LoadPicture(int which) {
        const std::uint16_t id = IdOf(which);
        if (id == 0) return user_.Finish("UnknownId");
        SplashLoadOutcome outcome = SplashLoadOutcome::UnknownId;
        history_.Run(id == SplashDocument::WelcomeId ? "Load Welcome Image" : "Load Goodbye Image",
                     [&] { outcome = ChooseSplashImage(document_, user_, id); });
        constexpr const char* kNames[] = {"Ok", "Cancelled", "CouldNotOpen", "NotJpeg", "WrongSize", "UnknownId"};
        return user_.Finish(kNames[static_cast<int>(outcome)]);
    }
    val SavePicture(int which) {
        constexpr const char* kNames[] = {"Ok", "Cancelled", "ImageMissing", "CouldNotOpen", "WriteFailed", "UnknownId"};
        return user_.Finish(kNames[static_cast<int>(ExtractSplashImage(document_, user_, IdOf(which)))]);
    }
    val Open(val path) {
        const auto chosen = path.isString() ? std::optional(path.as<std::string>()) : std::nullopt;
        const SplashReadOutcome outcome = ReadSplash(document_, user_, chosen);
        if (outcome == SplashReadOutcome::Ok) {
            history_.Forget();
            history_.MarkSaved();
        }
        constexpr const char* kNames[] = {"Ok", "Cancelled", "CouldNotOpen", "NotSplashFile"};
        return user_.Finish(kNames[static_cast<int>(outcome)]);
    }
    val Save() { return Saved(BothOr([this] { return SaveSplash(document_, user_); })); }
    val SaveAs() { return Saved(BothOr([this] { return SaveSplashAs(document_, user_); })); }
    // Exit (switching false) or the skin editor (true), each with its own question.
    val Close(bool switching) {
        const bool leave =
            MayLeave(user_, document_.IsModified(), switching ? kLeaveSplashQuestion : kExitSplashQuestion, [this] {
                const SplashSaveOutcome outcome = BothOr([this] { return SaveSplash(document_, user_); });
                if (outcome == SplashSaveOutcome::Ok) history_.MarkSaved();
                return outcome == SplashSaveOutcome::Ok;
            });
        return user_.Finish(leave ? "Closed" : "Stayed");
    }
    val Undo() { return user_.Finish(history_.Undo() ? "Ok" : "Nothing"); }
    val Redo() { return user_.Finish(history_.Redo() ? "Ok" : "Nothing"); }

private:
    // 0 the welcome image, 1 the goodbye image; anything else names neither.
    static std::uint16_t IdOf(int which) {
        return which == 0 ? SplashDocument::WelcomeId : which == 1 ? SplashDocument::GoodbyeId : 0;
    }
    // The editor saves a splash file only with both images, and says so.
    template <class Save>
    SplashSaveOutcome BothOr(Save save) {
        if (document_.HasBothImages()) return save();
        Tell(user_, std::string(kNeedBothImages), MessageIcon::Warning);
        return SplashSaveOutcome::ImageMissing;
    }
    val Saved(SplashSaveOutcome outcome) {
        if (outcome == SplashSaveOutcome::Ok) history_.MarkSaved();
        constexpr const char* kNames[] = {"Ok", "Cancelled", "ImageMissing", "CouldNotOpen", "WriteFailed"};
        return user_.Finish(kNames[static_cast<int>(outcome)]);
    }
};

}  // namespace corvane

namespace {

// What both sessions offer, under a name of its own: the page uses the two sessions.
template <class Document, class Change>
void BindCommon(const char* name) {
    using Common = corvane::Session<Document, Change>;
    emscripten::class_<Common>(name)
        .function("choose", &Common::Choose)
        .function("answer", &Common::Answer)
        .function("modified", &Common::Modified)
        .function("canUndo", &Common::CanUndo)
        .function("canRedo", &Common::CanRedo)
        .function("undoText", &Common::UndoText)
        .function("redoText", &Common::RedoText);
}

}  // namespace

EMSCRIPTEN_BINDINGS(corvane) {
    using namespace emscripten;
    using namespace corvane;
    function("fileLimit", &FileLimit);
    function("tooLargeText", &TooLargeText);
    function("elementEditors", &ElementEditors);
    function("untitledPath", &UntitledPath);
    function("version", &Version);
    function("stageOversized", &StageOversized);

    BindCommon<SkinDocument, SkinChange>("SkinSessionCommon");
    class_<SkinSession, base<Session<SkinDocument, SkinChange>>>("SkinSession")
        .constructor<>()
        .function("title", &SkinSession::Title)
        .function("filePath", &SkinSession::FilePath)
        .function("fileName", &SkinSession::FileName)
        .function("depth", &SkinSession::Depth)
        .function("elementCount", &SkinSession::ElementCount)
        .function("element", &SkinSession::ElementAt)
        .function("elementPicture", &SkinSession::ElementPicture)
        .function("transparentColour", &SkinSession::TransparentColour)
        .function("previewRGBA", &SkinSession::Preview)
        .function("reset", &SkinSession::Reset)
        .function("open", &SkinSession::Open)
        .function("save", &SkinSession::Save)
        .function("saveAs", &SkinSession::SaveAs)
        .function("setDepth", &SkinSession::SetDepth)
        .function("loadImage", &SkinSession::LoadImage)
        .function("setTransparentAt", &SkinSession::SetTransparentAt)
        .function("confirmTransparent", &SkinSession::ConfirmTransparent)
        .function("shareTransparentAt", &SkinSession::ShareTransparentAt)
        .function("exportBitmaps", &SkinSession::ExportBitmapSet)
        .function("importBitmaps", &SkinSession::ImportBitmapSet)
        .function("exportPreview", &SkinSession::ExportPreviewPicture)
        .function("exportDialpadBitmaps", &SkinSession::ExportDialpad)
        .function("insertBackground", &SkinSession::InsertBackgroundImage)
        .function("importDialpadBitmaps", &SkinSession::ImportDialpad)
        .function("exportLayered", &SkinSession::ExportLayered)
        .function("importLayered", &SkinSession::ImportLayered)
        .function("close", &SkinSession::Close)
        .function("undo", &SkinSession::Undo)
        .function("redo", &SkinSession::Redo);

    BindCommon<SplashDocument, SplashChange>("SplashSessionCommon");
    class_<SplashSession, base<Session<SplashDocument, SplashChange>>>("SplashSession")
        .constructor<>()
        .function("title", &SplashSession::Title)
        .function("fileName", &SplashSession::FileName)
        .function("hasPicture", &SplashSession::HasPicture)
        .function("pictureBytes", &SplashSession::PictureBytes)
        .function("pictureSource", &SplashSession::PictureSource)
        .function("loadPicture", &SplashSession::LoadPicture)
        .function("savePicture", &SplashSession::SavePicture)
        .function("open", &SplashSession::Open)
        .function("save", &SplashSession::Save)
        .function("saveAs", &SplashSession::SaveAs)
        .function("close", &SplashSession::Close)
        .function("undo", &SplashSession::Undo)
        .function("redo", &SplashSession::Redo);
}

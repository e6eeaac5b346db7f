// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin editor: two live previews of the dial screen, the target depth,
// and the skin file commands.
#pragma once

#include <QButtonGroup>
#include <QLabel>
#include <functional>
#include <memory>
#include <optional>

#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "model/SkinSession.h"
#include "widgets/EditorWindow.h"
#include "widgets/WelcomeMarker.h"

namespace corvane {

class PixelPicture;
struct ElementDialogTable;
class UndoHistory;

class SkinEditorWindow : public EditorWindow {
    Q_OBJECT
public:
    // marker: where the welcome's "no.welcome" lives; by default beside the program.
    explicit SkinEditorWindow(UserInterface* user = nullptr, std::optional<WelcomeMarker> marker = std::nullopt);
    ~SkinEditorWindow() override;

    SkinSession& Session() { return *session_; }
    SkinDocument& Document() { return session_->Document(); }
    const SkinDocument& Document() const { return session_->Document(); }
    UndoHistory& History() { return *history_; }

    // How many screen pixels the previews and element pictures give each image pixel.
    int Zoom() const { return zoom_; }
    static constexpr int kMaxZoom = 4;

    // Shows the welcome first, unless the user turned it off.
    int exec() override;

    // The title, the depth choice and both previews from the session.
    void Refresh();
    // Recomposes both previews at the current depth, then Refresh.
    void RefreshPreviews();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

public:

    // "&Work on Splash Images": leave for the splash editor.
    void accept() override;
    // "Exit", "E&xit\tEsc", Esc and the close box: leave the program.
    void reject() override;

    void OpenPath(const std::string& path) override;

private:
    void AddPreviewsAndElementButtons();
    void AddDepthChoice();
    void AddFileCommands();
    void SetDepth(Depth depth);
    // Runs an element editor on the skin, then shows what it changed.
    void EditElements(const ElementDialogTable& table);
    void Reset();
    void Open();
    void ShowOpened(OpenSkinOutcome outcome);
    void Save(bool saveAs);
    void ShowSaved(SaveSkinOutcome outcome);
    void Leave(int result);
    // The "&Import/Export" menu.
    void AddExchangeMenu();
    void ImportSet();
    void ImportLayers();
    void ChangeDialpad(const std::string& text, const std::function<DialpadOutcome()>& command);
    // Shows both canvases as they were last composed.
    void ShowPreviews();
    // The "&View" menu.
    void AddViewMenu();
    void SetZoom(int zoom);
    // The export commands, with their result in the status bar.
    void Export(const QString& what, ExportOutcome outcome);

    std::unique_ptr<SkinSession> session_;
    // After the session, so that it goes first: it stops listening to the session.
    std::unique_ptr<UndoHistory> history_;
    WelcomeMarker marker_;
    PixelPicture* releasedPreview_;
    PixelPicture* pressedPreview_;
    int zoom_ = 1;
    QAction* showTransparent_ = nullptr;
    QAction* ditherPictures_ = nullptr;
    QPushButton* depth8_;
    QPushButton* depth16_;
};

}  // namespace corvane

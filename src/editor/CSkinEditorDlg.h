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
#include "model/SkinDocument.h"
#include "model/SkinFile.h"
#include "widgets/EditorWindow.h"
#include "widgets/WelcomeMarker.h"

namespace corvane {

class SkinHistory;
class PixelPicture;

class CSkinEditorDlg : public EditorWindow {
    Q_OBJECT
public:
    // marker: where the welcome's "no.welcome" lives; by default beside the program.
    explicit CSkinEditorDlg(UserInterface* user = nullptr, std::optional<WelcomeMarker> marker = std::nullopt);

    SkinDocument& Document() { return *document_; }
    SkinHistory& History() { return *history_; }

    // How many screen pixels the previews and element pictures give each image pixel.
    int Zoom() const { return zoom_; }
    static constexpr int kMaxZoom = 4;

    // Shows the welcome first, unless the user turned it off.
    int exec() override;

    void UpdateTitle();
    // ComposePreviews at the current target depth, then repaint both pictures.
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
    void SetDepth(int depth);
    // Runs an element editor on the document, then shows what it changed.
    template <class Dialog>
    void EditElements();
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
    void ChangeDialpad(const QString& text, const std::function<DialpadOutcome()>& command);
    // Shows both canvases as they were last composed.
    void ShowPreviews();
    // The "&View" menu.
    void AddViewMenu();
    void SetZoom(int zoom);
    // The export commands, with their result in the status bar.
    void Export(const QString& what, ExportOutcome outcome);

    std::unique_ptr<SkinDocument> document_;
    SkinHistory* history_;
    WelcomeMarker marker_;
    PixelPicture* releasedPreview_;
    PixelPicture* pressedPreview_;
    int zoom_ = 1;
    QAction* showTransparent_ = nullptr;
    QPushButton* depth8_;
    QPushButton* depth16_;
};

}  // namespace corvane

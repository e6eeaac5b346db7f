// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The element editors: one window built from a table of elements (see
// ElementDialogTables.h). Every "Load Image", "Transparent Color" and share
// button goes to one handler that takes the table row; the changes go
// straight into the live skin, each recorded as one undo step, and closing
// undoes nothing. With the window's history Ctrl+Z and Ctrl+Shift+Z work
// inside the editor too.
#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "model/ElementDialogTables.h"

namespace corvane {

class ColourSwatch;
class ElementPicture;
class SkinDocument;
class SkinSession;
class UndoHistory;
class UserInterface;

class ElementEditor : public QDialog {
    Q_OBJECT
public:
    // zoom: how many screen pixels the pictures give each image pixel, 1 to 4.
    // history: the owner window's Undo and Redo, whose shortcuts then work here too.
    ElementEditor(const ElementDialogTable& table, SkinSession& session, QWidget* parent = nullptr,
                  UndoHistory* history = nullptr, int zoom = 1);

    // Every picture and transparent-colour swatch from the document.
    void Refresh();

signals:
    // After every command that may have changed the document.
    void DocumentChanged();
    // The pixel under the pointer, as the status bar says it; empty when it left.
    void PointerText(const QString& text);

private:
    QWidget* BuildGroup(const QString& caption, std::span<const ElementRow> rows);
    QWidget* BuildElement(const ElementRow& row, bool picturesBesideButtons);
    void LoadImage(const ElementRow& row);
    void LoadImageFile(const ElementRow& row, const QString& path);
    void ChooseTransparent(const ElementRow& row);
    void ChooseTransparentForAll();
    // Runs the chooser on the element's slot of the current depth; true on "OK".
    bool RunChooser(Element element);
    // Runs a change on the document, recorded under the text when it changed anything.
    void Change(const QString& text, const std::function<void()>& change);

    const ElementDialogTable& table_;
    SkinSession& session_;
    SkinDocument& document_;
    UserInterface& user_;
    UndoHistory* history_;
    int zoom_;
    std::map<Element, ElementPicture*> pictures_;
    std::map<Element, ColourSwatch*> swatches_;
};


}  // namespace corvane

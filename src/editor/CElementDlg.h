// The element editors: one window built from a table of elements (see
// ElementDialogTables.h). Every "Load Image", "Transparent Color" and share
// button goes to one handler that takes the table row; the changes go
// straight into the live document, and closing undoes nothing. With the
// window's history each change is recorded there, and Ctrl+Z and
// Ctrl+Shift+Z work inside the editor too.
#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "editor/ElementDialogTables.h"

namespace corvane {

class CColorIndicator;
class CElementPicture;
class SkinDocument;
class UndoHistory;
class UserInterface;

class CElementDlg : public QDialog {
    Q_OBJECT
public:
    CElementDlg(const ElementDialogTable& table, SkinDocument& document, UserInterface& user,
                QWidget* parent = nullptr, UndoHistory* history = nullptr);

    // Every picture and transparent-colour swatch from the document.
    void Refresh();

signals:
    // After every command that may have changed the document.
    void DocumentChanged();

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
    SkinDocument& document_;
    UserInterface& user_;
    UndoHistory* history_;
    std::map<Element, CElementPicture*> pictures_;
    std::map<Element, CColorIndicator*> swatches_;
};

class CKeypadButtonsDlg : public CElementDlg {
public:
    CKeypadButtonsDlg(SkinDocument& document, UserInterface& user, QWidget* parent = nullptr,
        UndoHistory* history = nullptr)
        : CElementDlg(kKeypadButtonsTable, document, user, parent, history) {}
};

class CKeypadTextDlg : public CElementDlg {
public:
    CKeypadTextDlg(SkinDocument& document, UserInterface& user, QWidget* parent = nullptr,
        UndoHistory* history = nullptr)
        : CElementDlg(kKeypadTextTable, document, user, parent, history) {}
};

class CSpeedDialDlg : public CElementDlg {
public:
    CSpeedDialDlg(SkinDocument& document, UserInterface& user, QWidget* parent = nullptr,
        UndoHistory* history = nullptr)
        : CElementDlg(kSpeedDialTable, document, user, parent, history) {}
};

class CTitleDlg : public CElementDlg {
public:
    CTitleDlg(SkinDocument& document, UserInterface& user, QWidget* parent = nullptr,
        UndoHistory* history = nullptr)
        : CElementDlg(kTitleTable, document, user, parent, history) {}
};

}  // namespace corvane

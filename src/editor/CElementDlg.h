// The element editors: one window built from a table of elements (see
// ElementDialogTables.h). Every "Load Image", "Transparent Color" and share
// button goes to one handler that takes the table row; the changes go
// straight into the live document, and closing undoes nothing.
#pragma once

#include <QDialog>
#include <QHash>

#include "editor/ElementDialogTables.h"

namespace corvane {

class CElementPicture;
class SkinDocument;
class UserInterface;

class CElementDlg : public QDialog {
    Q_OBJECT
public:
    CElementDlg(const ElementDialogTable& table, SkinDocument& document, UserInterface& user,
                QWidget* parent = nullptr);

private:
    QWidget* BuildGroup(const QString& caption, std::span<const ElementRow> rows);
    QWidget* BuildElement(const ElementRow& row, bool picturesBesideButtons);
    void LoadImage(const ElementRow& row);
    void LoadImageFile(const ElementRow& row, const QString& path);
    void ChooseTransparent(const ElementRow& row);
    void ChooseTransparentForAll();
    // Runs the chooser on the element's slot of the current depth; true on "OK".
    bool RunChooser(int element);

    const ElementDialogTable& table_;
    SkinDocument& document_;
    UserInterface& user_;
    QHash<int, CElementPicture*> pictures_;  // by element
};

class CKeypadButtonsDlg : public CElementDlg {
public:
    CKeypadButtonsDlg(SkinDocument& document, UserInterface& user, QWidget* parent = nullptr)
        : CElementDlg(kKeypadButtonsTable, document, user, parent) {}
};

class CKeypadTextDlg : public CElementDlg {
public:
    CKeypadTextDlg(SkinDocument& document, UserInterface& user, QWidget* parent = nullptr)
        : CElementDlg(kKeypadTextTable, document, user, parent) {}
};

class CSpeedDialDlg : public CElementDlg {
public:
    CSpeedDialDlg(SkinDocument& document, UserInterface& user, QWidget* parent = nullptr)
        : CElementDlg(kSpeedDialTable, document, user, parent) {}
};

class CTitleDlg : public CElementDlg {
public:
    CTitleDlg(SkinDocument& document, UserInterface& user, QWidget* parent = nullptr)
        : CElementDlg(kTitleTable, document, user, parent) {}
};

}  // namespace corvane

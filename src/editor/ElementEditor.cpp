// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/ElementEditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "editor/ColourSwatch.h"
#include "editor/ElementPicture.h"
#include "editor/ColourChooser.h"
#include "model/ElementEditing.h"
#include "model/ShownColour.h"
#include "model/SkinSession.h"
#include "pdb/SkinCatalogue.h"
#include "widgets/ControlId.h"
#include "widgets/ScreenFit.h"
#include "widgets/UndoHistory.h"

namespace corvane {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QPushButton* CommandButton(const char* text, int id, const QString& label) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::number(id));
    // Two dozen buttons share each text: a screen reader also says whose they are.
    button->setAccessibleDescription(label);
    return button;
}

// What the dialog needs beside its groups: its margins and the row of buttons below them.
constexpr int kRoomBesideGroups = 80;

// The groups as they are, or in a scroll area where the screen is smaller
// than them (enlarged pictures, a display scale of 2).
QWidget* GroupsFittingTheScreen(QWidget* groups, const QWidget* window) {
    const QSize room = RoomOnScreen(window, QSize(kRoomBesideGroups / 3, kRoomBesideGroups));
    const QSize wanted = groups->sizeHint();
    if (wanted.width() <= room.width() && wanted.height() <= room.height()) return groups;
    groups->setFixedSize(wanted);
    QScrollArea* scroller = ScrollingWhereTooLarge(groups, room);
    scroller->setObjectName("elements");
    scroller->setAccessibleName("Images");
    return scroller;
}

}  // namespace

ElementEditor::ElementEditor(const ElementDialogTable& table, SkinSession& session, QWidget* parent,
                             UndoHistory* history, int zoom)
    : QDialog(parent),
      table_(table),
      session_(session),
      document_(session.Document()),
      user_(session.User()),
      history_(history),
      zoom_(zoom) {
    setWindowTitle(Text(table.title));
    setObjectName(QString::number(table.resource));

    auto* layout = new QVBoxLayout(this);
    auto* elements = new QWidget;
    auto* elementsLayout = new QVBoxLayout(elements);
    elementsLayout->setContentsMargins(0, 0, 0, 0);
    const auto rows = table.rows;
    if (table.layout == ElementLayout::Keypad) {
        // A key's normal and pressed labels share its group: rows come in pairs.
        auto* keypad = new QGridLayout;
        for (std::size_t i = 0; i + 1 < rows.size(); i += 2) {
            const int key = static_cast<int>(i / 2);
            keypad->addWidget(BuildGroup(Text(Caption(rows[i])), rows.subspan(i, 2)), key / 3, key % 3);
        }
        elementsLayout->addLayout(keypad);
    } else {
        QBoxLayout* groups = table.layout == ElementLayout::SideBySide ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                                                       : static_cast<QBoxLayout*>(new QVBoxLayout);
        for (std::size_t i = 0; i < rows.size(); ++i)
            groups->addWidget(BuildGroup(Text(Caption(rows[i])), rows.subspan(i, 1)));
        elementsLayout->addLayout(groups);
    }
    layout->addWidget(GroupsFittingTheScreen(elements, this));

    auto* bottom = new QHBoxLayout;
    if (!table.shareText.empty()) {
        auto* share = new QPushButton(Text(table.shareText));
        share->setObjectName(QString::number(kShareButtonId));
        connect(share, &QPushButton::clicked, this, &ElementEditor::ChooseTransparentForAll);
        bottom->addWidget(share);
    }
    // The pixel under the pointer: the editor window's own status bar may lie under this one.
    auto* pointer = new QLabel;
    pointer->setAccessibleName("Pointer");
    pointer->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &ElementEditor::PointerText, pointer, &QLabel::setText);
    bottom->addWidget(pointer, 1);
    auto* ok = new QPushButton("OK");
    ok->setObjectName(ObjectName(ControlId::Accept));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(ok);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (history_) {
        history_->AddShortcutsTo(this);
        connect(history_, &UndoHistory::Restored, this, &ElementEditor::Refresh);
    }
    Refresh();
}

void ElementEditor::Refresh() {
    // An undo may have taken the depth back: the pictures show the set of the depth there is now.
    for (const auto& [element, picture] : pictures_) picture->SetSlot(document_.Slot(document_.TargetDepth(), element));
    for (const auto& [element, swatch] : swatches_) {
        swatch->SetDepth(document_.TargetDepth());
        swatch->SetColour(document_.Slot(document_.TargetDepth(), element).Transparent());
        // Read out instead of the chooser's caption: the swatch has no label of its own.
        swatch->setAccessibleName(ColourName(swatch->GetColour(), document_.TargetDepth()));
    }
}

QWidget* ElementEditor::BuildGroup(const QString& caption, std::span<const ElementRow> rows) {
    auto* group = new QGroupBox(caption);
    auto* grid = new QGridLayout(group);
    const bool beside = table_.layout == ElementLayout::Stacked;
    if (rows.size() == 2 && table_.layout == ElementLayout::Keypad) {
        grid->addWidget(new QLabel("Normal:"), 0, 0);
        grid->addWidget(new QLabel("Pressed:"), 0, 1);
        grid->addWidget(BuildElement(rows[0], false), 1, 0);
        grid->addWidget(BuildElement(rows[1], false), 1, 1);
    } else {
        grid->addWidget(BuildElement(rows[0], beside), 0, 0);
    }
    return group;
}

QWidget* ElementEditor::BuildElement(const ElementRow& row, bool picturesBesideButtons) {
    const QString label = Text(ElementInfo(row.element).label);

    auto* picture = new ElementPicture(document_.Slot(document_.TargetDepth(), row.element), nullptr, zoom_);
    picture->setObjectName(QString::number(row.picture));
    picture->setAccessibleName(label);
    pictures_[row.element] = picture;
    auto* load = CommandButton("Load Image", row.load, label);
    auto* transparent = CommandButton("Transparent Color", row.transparent, label);
    auto* swatch = new ColourSwatch;
    swatch->setObjectName(QString("swatch %1").arg(Index(row.element)));
    swatch->setFixedSize(transparent->sizeHint().height(), transparent->sizeHint().height());
    swatches_[row.element] = swatch;
    connect(load, &QPushButton::clicked, this, [this, &row] { LoadImage(row); });
    connect(transparent, &QPushButton::clicked, this, [this, &row] { ChooseTransparent(row); });
    connect(picture, &ElementPicture::FileDropped, this, [this, &row](const QString& path) { LoadImageFile(row, path); });
    connect(picture, &ElementPicture::PointedAt, this, [this, label = ElementInfo(row.element).label, index = row.element](int x, int y) {
        const Depth depth = document_.TargetDepth();
        emit PointerText(QString::fromStdString(PixelDescription(label, document_.Slot(depth, index).Picture(), x, y, depth)));
    });
    connect(picture, &ElementPicture::PointerLeft, this, [this] { emit PointerText(QString()); });

    auto* box = new QWidget;
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(load);
    auto* transparentRow = new QHBoxLayout;
    transparentRow->addWidget(transparent);
    transparentRow->addWidget(swatch);
    buttons->addLayout(transparentRow);
    QBoxLayout* layout = picturesBesideButtons ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                               : static_cast<QBoxLayout*>(new QVBoxLayout(box));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture, 0, Qt::AlignLeft | Qt::AlignTop);
    if (picturesBesideButtons) buttons->addStretch();
    layout->addLayout(buttons);
    return box;
}

void ElementEditor::LoadImage(const ElementRow& row) {
    Change(QString("Load Image (%1)").arg(Text(ElementInfo(row.element).label)),
           [&] { LoadElementImage(document_, user_, row.element); });
}

void ElementEditor::LoadImageFile(const ElementRow& row, const QString& path) {
    Change(QString("Load Image (%1)").arg(Text(ElementInfo(row.element).label)),
           [&] { LoadElementImageFile(document_, user_, row.element, path.toStdString()); });
}

void ElementEditor::ChooseTransparent(const ElementRow& row) {
    Change(QString("Transparent Color (%1)").arg(Text(ElementInfo(row.element).label)), [&] {
        if (RunChooser(row.element)) document_.MarkModified();
    });
}

void ElementEditor::ChooseTransparentForAll() {
    Change(Text(table_.shareText), [&] {
        if (RunChooser(table_.shareSource)) document_.MarkModified();
        // Even after "Cancel": the others then get the source's unchanged colour.
        ShareTransparentColour(document_, table_.shareSource, table_.shareTargets);
    });
}

void ElementEditor::Change(const QString& text, const std::function<void()>& change) {
    session_.Record(text.toStdString(), change);
    Refresh();
    emit DocumentChanged();
}

bool ElementEditor::RunChooser(Element element) {
    ColourChooser chooser(document_.Slot(document_.TargetDepth(), element), this, document_.TargetDepth());
    return chooser.exec() == QDialog::Accepted;
}

}  // namespace corvane

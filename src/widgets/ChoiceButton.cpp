// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ChoiceButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPushButton>

namespace corvane {
namespace {

constexpr const char* kChoiceProperty = "corvaneChoiceOfOne";

class ChoiceButtonAccessible : public QAccessibleWidget {
public:
    explicit ChoiceButtonAccessible(QPushButton* button) : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) text = Button()->text().remove('&');
        return text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && Button()->isEnabled()) Button()->click();
    }

private:
    QPushButton* Button() const { return static_cast<QPushButton*>(widget()); }
};

QAccessibleInterface* ChoiceFactory(const QString&, QObject* object) {
    auto* button = qobject_cast<QPushButton*>(object);
    if (!button || !button->property(kChoiceProperty).toBool()) return nullptr;
    return new ChoiceButtonAccessible(button);
}

}  // namespace

void AnnounceAsChoiceOfOne(QPushButton* button) {
    static const bool installed = [] {
        QAccessible::installFactory(ChoiceFactory);
        return true;
    }();
    (void)installed;
    button->setProperty(kChoiceProperty, true);
    // An interface made before, when the button became checkable, would go on
    // saying "check box": the next question makes a new one.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(button);
    if (made && made->role() != QAccessible::RadioButton) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace corvane

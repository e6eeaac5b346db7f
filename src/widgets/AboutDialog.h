// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

namespace corvane {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

// Both editors' "&About Corvane Desktop": a parentless modal about box.
void ShowAboutBox();

}  // namespace corvane

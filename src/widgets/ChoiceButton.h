// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Checkable push buttons that make a choice of one, as the target-depth
// buttons do. The toolkit announces any checkable push button as a check
// box; these are announced as radio buttons, so that a screen reader says
// that choosing one drops the other.
#pragma once

class QPushButton;

namespace corvane {

void AnnounceAsChoiceOfOne(QPushButton* button);

}  // namespace corvane

// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Windows that fit the screen at any display scale. A window laid out for a
// 1024x768 screen at scale 1 is twice too large at scale 2: its content then
// scrolls inside the room the screen leaves, so every button stays reachable.
#pragma once

#include <QSize>

class QScrollArea;
class QWidget;

namespace corvane {

// The room the screen the window is on leaves for its content: the screen's
// available area less a title bar, window frame and `besides` (the window's
// own menu bar and status bar, say). Unbounded when there is no screen.
QSize RoomOnScreen(const QWidget* window, QSize besides = QSize());

// A frameless scroll area holding the content at its fixed size: exactly as
// large as the content where the room allows, no larger than the room where
// it does not, with scroll bars then.
QScrollArea* ScrollingWhereTooLarge(QWidget* content, QSize room);

// Moves the window's children (placed by coordinates, the window of fixed
// size) into a scroll area that takes the window's place where the screen is
// smaller; a window that fits is left as it is.
void FitToScreen(QWidget* window);

}  // namespace corvane

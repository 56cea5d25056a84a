// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QPixmap;
class QWidget;

// Covers a window's background with copies of a small picture laid edge to
// edge from the top-left corner, like floor tiles. The tiles are drawn once
// into a picture the window keeps as its background, so repaints cost no
// further drawing and the window's controls stay above the tiles. Returns the
// number of tiles drawn; an empty tile draws nothing.
int TileBitmap(QWidget* window, const QPixmap& tile);

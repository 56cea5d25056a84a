// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/tilebitmap.h"

#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

int TileBitmap(QWidget* window, const QPixmap& tile)
{
    const int tileWidth = tile.width();
    const int tileHeight = tile.height();
    const int innerWidth = window->width();
    const int innerHeight = window->height();
    if (tileWidth <= 0 || tileHeight <= 0 || innerWidth <= 0 || innerHeight <= 0)
        return 0;

    QPixmap surface(innerWidth, innerHeight);
    surface.fill(window->palette().color(QPalette::Window));
    int tiles = 0;
    {
        QPainter painter(&surface);
        // A column at x equal to the inner width lies wholly outside; it is
        // drawn all the same and clipped away, as is any tile that reaches
        // past the right or bottom edge.
        for (int y = 0; y <= innerHeight; y += tileHeight) {
            for (int x = 0; x <= innerWidth; x += tileWidth) {
                painter.drawPixmap(x, y, tile);
                ++tiles;
            }
        }
    }
    QPalette palette = window->palette();
    palette.setBrush(QPalette::Window, QBrush(surface));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    return tiles;
}

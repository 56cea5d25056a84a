// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace twips {

namespace {
std::optional<QSize> screenOverride;
}

int toPixels(double value)
{
    return int(std::lround(value / PerPixel));
}

double left(const QWidget* w) { return fromPixels(w->x()); }
double top(const QWidget* w) { return fromPixels(w->y()); }
double width(const QWidget* w) { return fromPixels(w->width()); }
double height(const QWidget* w) { return fromPixels(w->height()); }

void setLeft(QWidget* w, double value) { w->move(toPixels(value), w->y()); }
void setTop(QWidget* w, double value) { w->move(w->x(), toPixels(value)); }
void setWidth(QWidget* w, double value) { w->resize(toPixels(value), w->height()); }
void setHeight(QWidget* w, double value) { w->resize(w->width(), toPixels(value)); }
void move(QWidget* w, double l, double t) { w->move(toPixels(l), toPixels(t)); }

long centreOffset(double outer, double inner)
{
    return std::lrint(outer - inner) / 2;
}

QSize screenSize()
{
    if (screenOverride)
        return *screenOverride;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize px = screen->geometry().size();
    return {px.width() * PerPixel, px.height() * PerPixel};
}

void overrideScreenSize(std::optional<QSize> twipsSize)
{
    screenOverride = twipsSize;
}

}  // namespace twips

namespace vbcolor {

QColor toQColor(std::uint32_t value, const QPalette& palette)
{
    if (value & SystemFlag) {
        switch (value & 0xFF) {
        case 2: return palette.color(QPalette::Active, QPalette::Highlight);
        case 5: return palette.color(QPalette::Active, QPalette::Base);
        case 8: return palette.color(QPalette::Active, QPalette::Text);
        case 15: return palette.color(QPalette::Active, QPalette::Button);
        default: return palette.color(QPalette::Active, QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::uint32_t fromQColor(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8) | (std::uint32_t(rgb.blue()) << 16);
}

void setBackground(QWidget* w, std::uint32_t value)
{
    QPalette p = w->palette();
    const QColor c = toQColor(value, p);
    p.setColor(QPalette::Button, c);
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

std::uint32_t background(const QWidget* w)
{
    return fromQColor(w->palette().color(QPalette::Button));
}

}  // namespace vbcolor

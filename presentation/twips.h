// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>

class QWidget;

// The program lays its windows out in twips (1/1440 inch) and colours its
// words with 0x00BBGGRR values; Qt works in device-independent pixels and
// QColor. These helpers convert at the widget boundary, at 15 twips a pixel.
namespace twips {

inline constexpr int PerPixel = 15;

int toPixels(double twips);
inline double fromPixels(int pixels) { return double(pixels) * PerPixel; }

// Geometry of a widget in twips, relative to its parent (a top-level window's
// own position is its place on the screen).
double left(const QWidget* w);
double top(const QWidget* w);
double width(const QWidget* w);
double height(const QWidget* w);
void setLeft(QWidget* w, double value);
void setTop(QWidget* w, double value);
void setWidth(QWidget* w, double value);
void setHeight(QWidget* w, double value);
void move(QWidget* w, double left, double top);

// Left offset that centres a box of width `inner` in one of width `outer`:
// the difference rounded to the nearest integer (ties to even), then halved
// with truncation toward zero.
long centreOffset(double outer, double inner);

// The primary screen's size in twips. Tests may pretend to have another
// screen.
QSize screenSize();
void overrideScreenSize(std::optional<QSize> twipsSize);

}  // namespace twips

namespace vbcolor {

// A colour value with the top bit set names a system colour by index.
inline constexpr std::uint32_t SystemFlag = 0x80000000u;
inline constexpr std::uint32_t ActiveTitleBar = SystemFlag | 2;
inline constexpr std::uint32_t WindowBackground = SystemFlag | 5;

inline constexpr std::uint32_t Black = 0x000000;
inline constexpr std::uint32_t White = 0xFFFFFF;
inline constexpr std::uint32_t Green = 0x00FF00;
inline constexpr std::uint32_t Blue = 0xFF0000;
inline constexpr std::uint32_t Red = 0x0000FF;
inline constexpr std::uint32_t Yellow = 0x00FFFF;

QColor toQColor(std::uint32_t value, const QPalette& palette = QPalette());
std::uint32_t fromQColor(const QColor& colour);

// Sets the background of a widget (a button, a box) to a colour value.
void setBackground(QWidget* w, std::uint32_t value);
std::uint32_t background(const QWidget* w);

}  // namespace vbcolor

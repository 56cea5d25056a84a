// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <array>

// The sizes the exercise text is drawn in, and the steps a pupil takes
// between them. A pupil chooses the normal size; the sizes of the picked
// words, the correction box and the help view follow it in the design's
// proportions, so that at the design's normal size everything is drawn as it
// always was.
namespace textsize {

// The design's sizes, in points: the words of the text, a word picked before,
// the word picked now, and the word in the correction box.
inline constexpr double DesignNormal = 18;
inline constexpr double DesignPreviouslyPicked = 20;
inline constexpr double DesignPicked = 28;
inline constexpr double DesignCorrection = 36;

// The normal sizes a pupil can choose, smallest first: two points apart up
// to 24, four beyond, from 12 to 48.
inline constexpr std::array<double, 13> Steps{12, 14, 16, 18, 20, 22, 24, 28, 32, 36, 40, 44, 48};
inline constexpr double Smallest = Steps.front();
inline constexpr double Largest = Steps.back();

// The step after `normal` (larger) or before it (smaller); the largest and the
// smallest step stay where they are. A size between two steps goes to the
// next step in the direction asked.
double larger(double normal);
double smaller(double normal);
// `count` steps larger (positive) or smaller (negative).
double stepped(double normal, int count);

// A normal size read from elsewhere (a settings file a person may have
// edited): the nearest step, or the design's normal size for anything that
// is not a finite number.
double usable(double stored);

// `designSize` drawn in proportion to the normal size `normal`.
double scaled(double designSize, double normal);

// The three sizes of the exercise text for one normal size.
struct Sizes {
    double normal = DesignNormal;
    double previouslyPicked = DesignPreviouslyPicked;
    double picked = DesignPicked;
    bool operator==(const Sizes&) const = default;
};
Sizes sizesFor(double normal);

// The correction box's size for the normal size `normal`: in proportion, but
// never larger than `room`, the largest size its height holds, unless that is
// below the design's size (which is never made smaller for it).
double correctionSize(double normal, double room);

// Which of the three sizes of `sizes` the size `points` is (the nearest of
// them): for a text drawn at one normal size that is to be drawn at another.
double counterpart(double points, const Sizes& from, const Sizes& to);

}  // namespace textsize

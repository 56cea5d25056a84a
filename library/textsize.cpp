// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/textsize.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace textsize {

double larger(double normal)
{
    for (double step : Steps) {
        if (step > normal)
            return step;
    }
    return Largest;
}

double smaller(double normal)
{
    for (auto step = Steps.rbegin(); step != Steps.rend(); ++step) {
        if (*step < normal)
            return *step;
    }
    return Smallest;
}

double stepped(double normal, int count)
{
    double size = usable(normal);
    for (; count > 0; --count)
        size = larger(size);
    for (; count < 0; ++count)
        size = smaller(size);
    return size;
}

double usable(double stored)
{
    if (!std::isfinite(stored))
        return DesignNormal;
    return *std::min_element(Steps.begin(), Steps.end(), [stored](double a, double b) {
        return std::abs(a - stored) < std::abs(b - stored);
    });
}

double scaled(double designSize, double normal)
{
    return designSize * normal / DesignNormal;
}

Sizes sizesFor(double normal)
{
    return {normal, scaled(DesignPreviouslyPicked, normal), scaled(DesignPicked, normal)};
}

double correctionSize(double normal, double room)
{
    return std::min(scaled(DesignCorrection, normal), std::max(DesignCorrection, room));
}

double counterpart(double points, const Sizes& from, const Sizes& to)
{
    const std::array<std::pair<double, double>, 3> pairs{
        {{from.normal, to.normal}, {from.previouslyPicked, to.previouslyPicked}, {from.picked, to.picked}}};
    const auto nearest = std::min_element(pairs.begin(), pairs.end(), [points](const auto& a, const auto& b) {
        return std::abs(a.first - points) < std::abs(b.first - points);
    });
    return nearest->second;
}

}  // namespace textsize

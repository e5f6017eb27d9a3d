#pragma once

#include <cmath>

// Where the property pane's border between grid and description may go, in twips. `inner` is the
// pane's inner height, `outer` its height with the frame.
namespace PropertySplitter {

constexpr double kDefaultFrame = 1400;

// The top of the splitter strip for a wanted top `y`: the description area is never taller than
// 1120 twips, and the strip stops 360 twips above the outer bottom edge.
inline double Clamp(double y, double inner, double outer)
{
    if (inner - y > 1120)
        return inner - 1120;
    if (y > outer - 360)
        return outer - 360;
    return y;
}

// The description frame's height below a strip at `y`.
inline double FrameBelow(double y, double inner)
{
    return std::round(inner - y) - 80;
}

// A saved frame taller than the pane leaves the grid 120 twips.
inline double Fitted(double frame, double inner)
{
    return frame + 120 > inner ? inner - 120 : frame;
}

}  // namespace PropertySplitter

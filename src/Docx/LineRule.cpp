// Line spacing rules and line heights.
#include "Docx/LineRule.h"

#include <algorithm>
#include <cmath>

namespace LineRule {
namespace {

constexpr double kSingleLineFactor = 1.3;
constexpr int kBodySizeHalfPoints = 24;

double SinglePoints(int nSizeHalfPoints)
{
    int nSize = nSizeHalfPoints > 0 ? nSizeHalfPoints : kBodySizeHalfPoints;
    return nSize / 2.0 * kSingleLineFactor;
}

}  // namespace

int FromName(std::string_view sName)
{
    if (sName == "exact")
        return EXACT;
    if (sName == "atLeast")
        return AT_LEAST;
    return AUTO;
}

const char* Name(int nRule)
{
    switch (nRule) {
    case EXACT:
        return "exact";
    case AT_LEAST:
        return "atLeast";
    default:
        return "auto";
    }
}

double PitchPoints(int nLine, int nRule, int nSizeHalfPoints)
{
    if (nRule == EXACT)
        return nLine / 20.0;
    if (nRule == AT_LEAST)
        return std::max(nLine / 20.0, SinglePoints(nSizeHalfPoints));
    return nLine / 240.0 * SinglePoints(nSizeHalfPoints);
}

int LineForPitch(double dPoints, int nRule, int nSizeHalfPoints)
{
    if (nRule == EXACT || nRule == AT_LEAST)
        return static_cast<int>(std::lround(dPoints * 20.0));
    return static_cast<int>(std::lround(dPoints / SinglePoints(nSizeHalfPoints) * 240.0));
}

}  // namespace LineRule

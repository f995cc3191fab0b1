#include "platform/text/time_of_day.h"

#include <cmath>
#include <limits>

namespace text {

namespace {

constexpr double kSecondsPerDay = 86400.0;

// The fraction in seconds, rounded; nothing for a value no day count can reach.
bool roundedSeconds(double fraction, double& exact, double& rounded)
{
    exact = fraction * kSecondsPerDay;
    rounded = std::round(exact);
    return std::isfinite(exact) && std::abs(rounded) < 9.0e18;
}

}  // namespace

qint64 wholeSeconds(double fraction)
{
    double exact = 0, rounded = 0;
    if (!roundedSeconds(fraction, exact, rounded))
        return std::isnan(exact) ? 0 : exact < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    return qint64(rounded);
}

double onWholeSecond(double fraction)
{
    double exact = 0, rounded = 0;
    if (!roundedSeconds(fraction, exact, rounded))
        return fraction;
    return rounded / kSecondsPerDay;
}

bool isWholeSecond(double fraction)
{
    double exact = 0, rounded = 0;
    return roundedSeconds(fraction, exact, rounded) && std::abs(exact - rounded) <= 1e-9;
}

}  // namespace text

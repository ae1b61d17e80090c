#include "TextRules.h"

#include <cmath>
#include <limits>

namespace vantorel {

int roundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    // nearbyint follows the default rounding mode, which is to nearest, ties to even.
    const double rounded = std::nearbyint(value);
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

std::string withFullStop(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

}  // namespace vantorel

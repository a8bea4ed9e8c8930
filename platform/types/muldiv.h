#pragma once

// The platform's MulDiv: number * numerator / denominator with a 64-bit product, rounded to the
// nearest integer with halves away from zero; -1 when the denominator is 0. Device units, dialog
// units and font heights all scale through it, so they round alike.

#include <cstdint>

constexpr int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(nNumber) * nNumerator;
    const bool negative = (product < 0) != (nDenominator < 0);
    const std::uint64_t magnitude = product < 0 ? 0ULL - static_cast<std::uint64_t>(product)
                                                : static_cast<std::uint64_t>(product);
    const std::uint64_t divisor = nDenominator < 0
        ? 0ULL - static_cast<std::uint64_t>(static_cast<std::int64_t>(nDenominator))
        : static_cast<std::uint64_t>(nDenominator);
    const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(
        negative ? -static_cast<std::int64_t>(quotient) : static_cast<std::int64_t>(quotient));
}

#include "framework/values/money.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr long long MAX_DOLLARS = INT32_MAX;
constexpr long long MIN_DOLLARS = INT32_MIN;

} // namespace

CMoney::CMoney(int cents)
{
    setCents(cents);
}

CMoney::CMoney(long cents)
{
    setCents(cents);
}

CMoney::CMoney(long dollars, int cents)
{
    // Cents outside 0..99 carry into the dollars, in the direction of the amount's sign.
    const long long total = dollars >= 0 ? static_cast<long long>(dollars) * 100 + cents
                                         : static_cast<long long>(dollars) * 100 - cents;
    setCents(total);
}

CMoney::CMoney(double value)
{
    setValue(value);
}

CMoney::CMoney(const char* text, bool allowMinus)
{
    if (!text || std::strlen(text) >= 32)
        return;
    while (*text == ' ' || *text == '\t')
        ++text;
    // A leading "." stands for "0.".
    const char* point = std::strchr(text, '.');
    const char* dollarEnd = point ? point : text + std::strlen(text);

    // The dollar part, without "$", "," and sign: the sign is the flag's business.
    const char* p = text;
    while (p < dollarEnd && (*p == '$' || *p == '-' || *p == '+' || *p == ','))
        ++p;
    long long dollars = 0;
    for (; p < dollarEnd; ++p) {
        if (*p == ',')
            continue;
        if (*p < '0' || *p > '9')
            break;
        dollars = dollars * 10 + (*p - '0');
        if (dollars > MAX_DOLLARS)
            dollars = MAX_DOLLARS;
    }

    // Only two places count; a single one is tenths.
    long cents = 0;
    if (point && point[1] >= '0' && point[1] <= '9') {
        cents = (point[1] - '0') * 10;
        if (point[2] >= '0' && point[2] <= '9')
            cents += point[2] - '0';
    }

    m_lDollars = static_cast<LONG>(dollars);
    m_lCents = static_cast<LONG>(cents);
    if (allowMinus && std::strchr(text, '-')) {
        if (m_lDollars != 0)
            m_lDollars = -m_lDollars;
        else
            m_lCents = -m_lCents;
    }
}

void CMoney::setCents(long long totalCents)
{
    long long dollars = totalCents / 100;
    long long cents = (totalCents < 0 ? -(totalCents % 100) : totalCents % 100);
    if (dollars > MAX_DOLLARS) {
        dollars = MAX_DOLLARS;
        cents = 99;
    } else if (dollars < MIN_DOLLARS) {
        dollars = MIN_DOLLARS;
        cents = 99;
    }
    // Between -1 and 0 only the cents can carry the sign.
    if (dollars == 0 && totalCents < 0)
        cents = -cents;
    m_lDollars = static_cast<LONG>(dollars);
    m_lCents = static_cast<LONG>(cents);
}

void CMoney::setValue(double value)
{
    if (std::isnan(value)) {
        m_lDollars = 0;
        m_lCents = 0;
        return;
    }
    if (value >= static_cast<double>(MAX_DOLLARS) + 1) {
        m_lDollars = INT32_MAX;
        m_lCents = 99;
        return;
    }
    if (value <= static_cast<double>(MIN_DOLLARS) - 1) {
        m_lDollars = INT32_MIN;
        m_lCents = 99;
        return;
    }

    long long dollars = static_cast<long long>(std::trunc(value));
    double fraction = 0;
    if (value >= 0) {
        fraction = value - static_cast<double>(dollars);
        // The correction absorbs the binary error of amounts such as 0.1 + 0.2.
        fraction += fraction <= 0 ? -0.001 : 0.001;
    } else {
        fraction = std::fabs(value - static_cast<double>(dollars) - 0.001);
    }
    long long cents = static_cast<long long>(fraction * 100);
    if (cents < 0)
        cents = 0;
    if (cents >= 100) {
        // A fraction just below a whole dollar rounds up into it.
        cents -= 100;
        dollars += value >= 0 ? 1 : -1;
        if (dollars > MAX_DOLLARS || dollars < MIN_DOLLARS) {
            dollars = dollars > 0 ? MAX_DOLLARS : MIN_DOLLARS;
            cents = 99;
        }
    }
    if (dollars == 0 && value < 0)
        cents = -cents;
    m_lDollars = static_cast<LONG>(dollars);
    m_lCents = static_cast<LONG>(cents);
}

CMoney CMoney::operator+(const CMoney& other) const
{
    return CMoney(static_cast<double>(*this) + static_cast<double>(other));
}

CMoney CMoney::operator-(const CMoney& other) const
{
    return CMoney(static_cast<double>(*this) - static_cast<double>(other));
}

CMoney& CMoney::operator+=(const CMoney& other)
{
    setValue(static_cast<double>(*this) + static_cast<double>(other));
    return *this;
}

CMoney CMoney::operator*(int n) const
{
    // The whole amount in cents times n; a product beyond the range is held at its end.
    long long total = 0;
    if (__builtin_mul_overflow(static_cast<long long>(static_cast<long>(*this)), n, &total))
        total = (static_cast<long>(*this) < 0) != (n < 0) ? LLONG_MIN : LLONG_MAX;
    CMoney product;
    product.setCents(total);
    return product;
}

bool CMoney::operator<(const CMoney& other) const
{
    return static_cast<double>(*this) < static_cast<double>(other);
}

bool CMoney::operator>(const CMoney& other) const
{
    return static_cast<double>(*this) > static_cast<double>(other);
}

CMoney::operator long() const
{
    const long dollars = m_lDollars;
    return m_lDollars >= 0 ? dollars * 100 + m_lCents : dollars * 100 - m_lCents;
}

CMoney::operator double() const
{
    const double cents = m_lCents / 100.0;
    return m_lDollars >= 0 ? m_lDollars + cents : m_lDollars - cents;
}

CMoney::operator const char*() const
{
    const bool negative = m_lDollars < 0 || m_lCents < 0;
    const long long dollars = std::llabs(static_cast<long long>(m_lDollars));
    const long long cents = std::llabs(static_cast<long long>(m_lCents));

    char digits[16];
    const int count = std::snprintf(digits, sizeof digits, "%lld", dollars);
    std::string grouped;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && count >= 4 && (count - i) % 3 == 0)
            grouped.push_back(',');
        grouped.push_back(digits[i]);
    }
    std::snprintf(
        m_szText, sizeof m_szText, "$%s%s.%02lld", negative ? "-" : "", grouped.c_str(), cents);
    return m_szText;
}

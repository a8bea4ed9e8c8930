#pragma once

// An amount of dollars and cents with its own text form ("$1,234.50", "$-0.25").
//
// The dollar part carries the sign; the cents are 0 to 99, and negative only for amounts between
// -1 and 0, where the dollar part is 0. Amounts beyond the dollar part's 32-bit range are held at
// the nearest end of it (2,147,483,647.99 or -2,147,483,648.99).

#include "platform/types/wintypes.h"

class CMoney
{
public:
    CMoney() = default;
    // An amount of cents.
    explicit CMoney(int cents);
    explicit CMoney(long cents);
    CMoney(long dollars, int cents);
    explicit CMoney(double value);
    // Reads "$1,234.56", "12.5" (50 cents), ".75"; a minus sign counts only when allowMinus is
    // set. Texts of 32 characters or more give 0.00.
    CMoney(const char* text, bool allowMinus = false);

    CMoney operator+(const CMoney& other) const;
    CMoney operator-(const CMoney& other) const;
    CMoney& operator+=(const CMoney& other);
    CMoney operator*(int n) const;
    bool operator<(const CMoney& other) const;
    bool operator>(const CMoney& other) const;

    // Total cents.
    operator long() const;
    operator double() const;
    // The text form; it lives in the object until the next conversion.
    operator const char*() const;

    LONG getDollars() const { return m_lDollars; }
    LONG getCents() const { return m_lCents; }

private:
    void setCents(long long totalCents);
    void setValue(double value);

    LONG m_lDollars {0};
    LONG m_lCents {0};
    mutable char m_szText[32] {};
};

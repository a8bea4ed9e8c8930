#include "framework/values/chars.h"

#include <climits>
#include <cstdio>
#include <cstring>

CChars::CChars() : m_pBuffer(new char[c_nGrowth])
{
    m_pBuffer[0] = '\0';
    m_pEnd = m_pBuffer;
    m_pLimit = m_pBuffer + m_nCapacity - 1;
}

CChars::CChars(const char* text) : CChars()
{
    *this << text;
}

CChars::CChars(const std::string& text) : CChars()
{
    *this << text;
}

CChars::CChars(char c) : CChars()
{
    *this << c;
}

CChars::CChars(short n) : CChars()
{
    *this << n;
}

CChars::CChars(int n) : CChars()
{
    *this << n;
}

CChars::CChars(unsigned int n) : CChars()
{
    *this << n;
}

CChars::CChars(double d) : CChars()
{
    *this << d;
}

CChars::CChars(const CChars& other)
    : m_pBuffer(new char[static_cast<std::size_t>(other.m_nCapacity)])
    , m_nCapacity(other.m_nCapacity)
    , m_nNumberWidth(other.m_nNumberWidth)
    , m_nStackCount(other.m_nStackCount)
{
    const std::size_t length = static_cast<std::size_t>(other.m_pEnd - other.m_pBuffer);
    std::memcpy(m_pBuffer, other.m_pBuffer, length + 1);
    m_pEnd = m_pBuffer + length;
    m_pLimit = m_pBuffer + m_nCapacity - 1;
    std::memcpy(m_widthStack, other.m_widthStack, sizeof m_widthStack);
}

CChars& CChars::operator=(const CChars& other)
{
    if (this != &other) {
        CChars copy(other);
        std::swap(m_pBuffer, copy.m_pBuffer);
        std::swap(m_pEnd, copy.m_pEnd);
        std::swap(m_pLimit, copy.m_pLimit);
        std::swap(m_nCapacity, copy.m_nCapacity);
        m_nNumberWidth = copy.m_nNumberWidth;
        m_nStackCount = copy.m_nStackCount;
        std::memcpy(m_widthStack, copy.m_widthStack, sizeof m_widthStack);
    }
    return *this;
}

CChars::~CChars()
{
    delete[] m_pBuffer;
}

void CChars::append(const char* text, std::size_t length)
{
    const std::size_t used = static_cast<std::size_t>(m_pEnd - m_pBuffer);
    const std::size_t room = static_cast<std::size_t>(m_pLimit - m_pEnd);
    if (length > room) {
        // Grow by whole steps of 129 until the text and its terminator fit.
        const std::size_t needed = used + length + 1;
        std::size_t capacity = static_cast<std::size_t>(m_nCapacity);
        capacity += (needed - capacity + c_nGrowth - 1) / c_nGrowth * c_nGrowth;
        if (capacity > static_cast<std::size_t>(INT_MAX))
            return; // beyond what the builder can count: the text is not appended
        char* buffer = new char[capacity];
        std::memcpy(buffer, m_pBuffer, used + 1);
        delete[] m_pBuffer;
        m_pBuffer = buffer;
        m_pEnd = m_pBuffer + used;
        m_nCapacity = static_cast<int>(capacity);
        m_pLimit = m_pBuffer + m_nCapacity - 1;
    }
    std::memcpy(m_pEnd, text, length);
    m_pEnd += length;
    *m_pEnd = '\0';
}

CChars& CChars::operator<<(const char* text)
{
    if (!text)
        return *this;
    if (m_nStackCount > 0 && std::strcmp(text, c_szMarker) == 0) {
        m_nNumberWidth = m_widthStack[--m_nStackCount];
        return *this;
    }
    append(text, std::strlen(text));
    return *this;
}

CChars& CChars::operator<<(const std::string& text)
{
    if (m_nStackCount > 0 && text == c_szMarker)
        return *this << c_szMarker;
    append(text.data(), text.size());
    return *this;
}

CChars& CChars::operator<<(char c)
{
    append(&c, 1);
    return *this;
}

void CChars::appendWhole(bool negative, unsigned long long magnitude)
{
    char digits[24];
    const int count = std::snprintf(digits, sizeof digits, "%llu", magnitude);
    if (negative)
        append("-", 1);
    const int width = m_nNumberWidth < c_nMaxNumberWidth ? m_nNumberWidth : c_nMaxNumberWidth;
    for (int i = count; i < width; ++i)
        append("0", 1);
    append(digits, static_cast<std::size_t>(count));
}

CChars& CChars::operator<<(short n)
{
    return *this << static_cast<long>(n);
}

CChars& CChars::operator<<(int n)
{
    return *this << static_cast<long>(n);
}

CChars& CChars::operator<<(long n)
{
    const bool negative = n < 0;
    // The magnitude is taken in unsigned arithmetic, so the most negative value has one too.
    const unsigned long long magnitude
        = negative ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    appendWhole(negative, magnitude);
    return *this;
}

CChars& CChars::operator<<(unsigned int n)
{
    appendWhole(false, n);
    return *this;
}

CChars& CChars::operator<<(unsigned long n)
{
    appendWhole(false, n);
    return *this;
}

CChars& CChars::operator<<(double d)
{
    const int length = std::snprintf(nullptr, 0, "%lf", d);
    if (length <= 0)
        return *this;
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%lf", d);
    text.resize(static_cast<std::size_t>(length));
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    append(text.data(), text.size());
    return *this;
}

CChars& CChars::operator<<(const CRect& rect)
{
    return *this << "l:" << rect.left << " t:" << rect.top << " r:" << rect.right
                 << " b:" << rect.bottom;
}

const char* CChars::numLen(int width)
{
    if (m_nStackCount < c_nMaxWidths)
        m_widthStack[m_nStackCount++] = width;
    return c_szMarker;
}

int CChars::getLength() const
{
    return static_cast<int>(m_pEnd - m_pBuffer);
}

#pragma once

// A growing text buffer filled with stream operators, for trace and message texts:
//
//     CChars text;
//     text << "Host " << slot << " answered in " << text.numLen(4) << ms << " ms";
//
// Whole numbers are written in decimal and padded with "0" to the number width (1 at first).
// numLen pushes a width and returns a marker text; streaming the marker takes the latest pushed
// width off the stack and puts it in force for all later numbers, until the next marker. A
// negative number keeps its minus sign in front of the zeros ("-007" at width 3).

#include "platform/types/rect.h"

#include <string>

class CChars
{
public:
    CChars();
    CChars(const char* text);
    CChars(const std::string& text);
    explicit CChars(char c);
    explicit CChars(short n);
    explicit CChars(int n);
    explicit CChars(unsigned int n);
    explicit CChars(double d);
    CChars(const CChars& other);
    CChars& operator=(const CChars& other);
    virtual ~CChars();

    // A null text appends nothing.
    CChars& operator<<(const char* text);
    CChars& operator<<(const std::string& text);
    CChars& operator<<(char c);
    CChars& operator<<(short n);
    CChars& operator<<(int n);
    CChars& operator<<(long n);
    CChars& operator<<(unsigned int n);
    CChars& operator<<(unsigned long n);
    // "%lf" without trailing zeros and without a final ".": 2.5 gives 2.5, 3.0 gives 3.
    CChars& operator<<(double d);
    // "l:" left " t:" top " r:" right " b:" bottom, the numbers as above.
    CChars& operator<<(const CRect& rect);

    // Pushes a number width (ignored while 9 are pending) and returns the marker text.
    const char* numLen(int width);

    int getLength() const;
    // The buffer's size: 129 at first, growing by 129 as the text needs.
    int getCapacity() const { return m_nCapacity; }
    operator const char*() const { return m_pBuffer; }

    static constexpr const char* c_szMarker = "#@#@";

private:
    static constexpr int c_nGrowth = 129;
    static constexpr int c_nMaxWidths = 9;
    // Padding beyond this many digits is not honoured, so a stray width cannot exhaust memory.
    static constexpr int c_nMaxNumberWidth = 4096;

    void append(const char* text, std::size_t length);
    void appendWhole(bool negative, unsigned long long magnitude);

    char* m_pBuffer {nullptr};
    char* m_pEnd {nullptr};
    char* m_pLimit {nullptr};
    int m_nCapacity {c_nGrowth};
    int m_nNumberWidth {1};
    int m_widthStack[10] {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    int m_nStackCount {0};
};

// libFuzzer target: the value classes' readers of text, CMoney and CPath, and the CChars text
// builder driven by arbitrary streams of what callers put into it.
//
// The first byte chooses the class; the rest is its input.
//  0 CMoney: the text is read with and without the minus sign. Invariants: the cents are
//    0..99, negative only on an amount of no whole dollars; the amount read from the written
//    form is the same amount; without the flag no amount is negative.
//  1 CPath: the text is split and composed. Invariants: no part and no composed path is
//    longer than its fixed size; a path whose parts fit composes back to itself, and splitting
//    a composed path gives the parts it was composed of.
//  2 CChars: the bytes are a program of appends (texts, numbers, number widths and their
//    markers, rectangles). Invariant: the builder's text and length equal a model's, and its
//    capacity is a multiple of its growth step that holds the text.

#include "framework/values/chars.h"
#include "framework/values/money.h"
#include "framework/values/path.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void fuzzMoney(const std::string& text)
{
    for (const bool allowMinus : {false, true}) {
        const CMoney money(text.c_str(), allowMinus);
        const LONG dollars = money.getDollars();
        const LONG cents = money.getCents();
        check(cents >= -99 && cents <= 99 && (cents >= 0 || dollars == 0));
        if (!allowMinus)
            check(dollars >= 0 && cents >= 0);
        const std::string written = static_cast<const char*>(money);
        check(written.size() < 32);
        const CMoney again(written.c_str(), true);
        check(again.getDollars() == dollars && again.getCents() == cents);
    }
}

void checkParts(const CPath& path)
{
    check(path.getDrive().size() <= 2 && path.getDir().size() <= 255 && path.getFile().size() <= 255
        && path.getExt().size() <= 255);
    check(path.getPath().size() <= 519);
}

void fuzzPath(const std::string& text)
{
    const CPath path(text);
    checkParts(path);
    const std::string composed = path.getPath();
    check(std::strcmp(static_cast<const char*>(path), composed.c_str()) == 0);

    const bool partsFit
        = path.getDir().size() < 255 && path.getFile().size() < 255 && path.getExt().size() < 255;
    const std::string whole = text.substr(0, text.find('\0'));
    if (partsFit && whole.size() <= 519)
        check(composed == whole);

    // A composed path splits into the parts it was composed of.
    if (composed.size() < 519) {
        const CPath again(composed);
        check(again.getPath() == composed);
        if (partsFit && whole.size() <= 519)
            check(again.getDrive() == path.getDrive() && again.getDir() == path.getDir()
                && again.getFile() == path.getFile() && again.getExt() == path.getExt());
    }

    // The parts set one by one from pieces of the text: never past their sizes.
    CPath built;
    const std::size_t quarter = whole.size() / 4;
    built.setDrive(whole.substr(0, quarter));
    built.setDir(whole.substr(quarter, quarter));
    built.setFile(whole.substr(2 * quarter, quarter));
    built.setExt(whole.substr(3 * quarter));
    checkParts(built);
}

// The builder's model: the text, the number width in force and the pushed widths.
struct CharsModel
{
    std::string text;
    int width {1};
    std::vector<int> pushed;

    void number(bool negative, unsigned long long magnitude)
    {
        const std::string digits = std::to_string(magnitude);
        if (negative)
            text += '-';
        const int padded = std::min(width, 4096);
        if (padded > static_cast<int>(digits.size()))
            text.append(static_cast<std::size_t>(padded) - digits.size(), '0');
        text += digits;
    }
    void marker()
    {
        if (pushed.empty()) {
            text += CChars::c_szMarker;
            return;
        }
        width = pushed.back();
        pushed.pop_back();
    }
};

void fuzzChars(const std::uint8_t* data, std::size_t size)
{
    CChars chars;
    CharsModel model;
    std::size_t i = 0;
    auto take = [&](std::size_t n) {
        std::uint64_t value = 0;
        for (std::size_t k = 0; k < n && i < size; ++k)
            value = value << 8 | data[i++];
        return value;
    };
    while (i < size && model.text.size() < 65536) {
        switch (data[i++] % 8) {
        case 0: { // a text of the next few bytes
            const std::size_t n = std::min<std::size_t>(take(1) % 16, size - i);
            const std::string text(reinterpret_cast<const char*>(data + i), n);
            i += n;
            chars << text;
            if (text == CChars::c_szMarker)
                model.marker();
            else
                model.text += text;
            break;
        }
        case 1: {
            const char c = static_cast<char>(take(1));
            chars << c;
            model.text += c;
            break;
        }
        case 2: {
            const auto n = static_cast<int>(static_cast<std::uint32_t>(take(4)));
            chars << n;
            model.number(n < 0,
                n < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long>(n))
                      : static_cast<unsigned long long>(n));
            break;
        }
        case 3: {
            const auto n = static_cast<long>(take(8));
            chars << n;
            model.number(n < 0,
                n < 0 ? 0ULL - static_cast<unsigned long long>(n)
                      : static_cast<unsigned long long>(n));
            break;
        }
        case 4: {
            const auto n = static_cast<unsigned long>(take(8));
            chars << n;
            model.number(false, n);
            break;
        }
        case 5: { // a width, streamed at once or left pending
            const auto width = static_cast<int>(static_cast<std::int16_t>(take(2)));
            const char* marker = chars.numLen(width);
            if (model.pushed.size() < 9)
                model.pushed.push_back(width);
            check(std::strcmp(marker, CChars::c_szMarker) == 0);
            if (i < size && data[i++] % 2 == 0) {
                chars << marker;
                model.marker();
            }
            break;
        }
        case 6: {
            chars << CChars::c_szMarker;
            model.marker();
            break;
        }
        default: {
            const CRect rect(static_cast<int>(take(1)) - 128, static_cast<int>(take(1)),
                static_cast<int>(take(2)), -static_cast<int>(take(1)));
            chars << rect;
            model.text += "l:";
            model.number(rect.left < 0, static_cast<unsigned long long>(std::abs(rect.left)));
            model.text += " t:";
            model.number(false, static_cast<unsigned long long>(rect.top));
            model.text += " r:";
            model.number(false, static_cast<unsigned long long>(rect.right));
            model.text += " b:";
            model.number(rect.bottom < 0, static_cast<unsigned long long>(std::abs(rect.bottom)));
            break;
        }
        }
    }
    const std::string text(
        static_cast<const char*>(chars), static_cast<std::size_t>(chars.getLength()));
    check(text == model.text);
    if (model.text.find('\0') == std::string::npos)
        check(std::strlen(chars) == model.text.size());
    check(chars.getCapacity() % 129 == 0 && chars.getCapacity() > chars.getLength());

    // A copy is the same text and goes on with the same widths.
    CChars copy(chars);
    copy << 7;
    chars << 7;
    check(std::strcmp(copy, chars) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
    case 0:
        fuzzMoney(text);
        break;
    case 1:
        fuzzPath(text);
        break;
    default:
        fuzzChars(data + 1, size - 1);
        break;
    }
    return 0;
}

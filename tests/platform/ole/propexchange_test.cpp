// The persistence exchange: stream and bag round trips, defaults for what is missing, and
// loads of truncated and damaged streams.

#include "platform/ole/propexchange.h"
#include "platform/ole/propexchange_p.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

constexpr DWORD c_version = 0x00020001;

FONTDESC defaultFont()
{
    FONTDESC d;
    d.cySize = 80000;
    d.fUnderline = TRUE;
    return d;
}

// The properties of a sample control, exchanged in a fixed order as a control's
// DoPropExchange does, with the second font under the same name as the first.
struct CSampleProps
{
    LONG number {0};
    BOOL flag {FALSE};
    OLE_COLOR color {0};
    std::string caption;
    CFontHolder font;
    CFontHolder stockFont;
    LONG last {0};
    DWORD versionLoaded {0};

    // after(n) is called after the n-th exchanged item (the version is item 0).
    void exchange(CPropExchange* px, const std::function<void(int)>& after = {})
    {
        auto step = [&](int n) {
            if (after)
                after(n);
        };
        px->ExchangeVersion(versionLoaded, c_version, true);
        step(0);
        PX_Long(px, "Number", number, 5);
        step(1);
        PX_Bool(px, "Flag", flag, TRUE);
        step(2);
        PX_Color(px, "BackColor", color, 0x0F000000);
        step(3);
        PX_String(px, "Caption", caption, "Default");
        step(4);
        PX_Font(px, "Font", font, defaultFont());
        step(5);
        PX_Long(px, "Last", last, -1);
        step(6);
        PX_Font(px, "Font", stockFont, FONTDESC());
        step(7);
    }
};

CSampleProps changedProps()
{
    CSampleProps p;
    p.number = -123456;
    p.flag = FALSE;
    p.color = 0x80FF00FF;
    p.caption = "A caption\r\nwith = signs \\ and more";
    FONTDESC f;
    f.lpstrName = "Arial";
    f.cySize = 125000;
    f.sWeight = 700;
    f.fItalic = TRUE;
    p.font.setDesc(f);
    FONTDESC s;
    s.lpstrName = "Courier";
    p.stockFont.setDesc(s);
    p.last = 77;
    return p;
}

void expectSame(const CSampleProps& a, const CSampleProps& b)
{
    EXPECT_EQ(a.number, b.number);
    EXPECT_EQ(a.flag != FALSE, b.flag != FALSE);
    EXPECT_EQ(a.color, b.color);
    EXPECT_EQ(a.caption, b.caption);
    EXPECT_TRUE(a.font.desc() == b.font.desc()) << zorFontDescText(a.font.desc());
    EXPECT_TRUE(a.stockFont.desc() == b.stockFont.desc()) << zorFontDescText(a.stockFont.desc());
    EXPECT_EQ(a.last, b.last);
}

// Whether item n (1..7) of a loaded sample holds its saved value or its default.
bool holdsSaved(const CSampleProps& p, const CSampleProps& saved, int n)
{
    switch (n) {
    case 1:
        return p.number == saved.number;
    case 2:
        return (p.flag != FALSE) == (saved.flag != FALSE);
    case 3:
        return p.color == saved.color;
    case 4:
        return p.caption == saved.caption;
    case 5:
        return p.font.desc() == saved.font.desc();
    case 6:
        return p.last == saved.last;
    case 7:
        return p.stockFont.desc() == saved.stockFont.desc();
    }
    return false;
}

bool holdsDefault(const CSampleProps& p, int n)
{
    switch (n) {
    case 1:
        return p.number == 5;
    case 2:
        return p.flag != FALSE;
    case 3:
        return p.color == 0x0F000000;
    case 4:
        return p.caption == "Default";
    case 5:
        return p.font.desc() == defaultFont();
    case 6:
        return p.last == -1;
    case 7:
        return p.stockFont.desc() == FONTDESC();
    }
    return false;
}

std::string savedStream(CSampleProps& props, std::vector<std::size_t>* ends = nullptr)
{
    std::string bytes;
    CStreamPropExchange px(bytes, false);
    props.exchange(&px, [&](int) {
        if (ends)
            ends->push_back(bytes.size());
    });
    return bytes;
}

} // namespace

TEST(StreamExchange, RoundTrip)
{
    CSampleProps saved = changedProps();
    std::string bytes = savedStream(saved);
    CSampleProps loaded;
    CStreamPropExchange px(bytes, true);
    loaded.exchange(&px);
    EXPECT_TRUE(px.complete());
    EXPECT_EQ(loaded.versionLoaded, c_version);
    expectSame(loaded, saved);
}

TEST(StreamExchange, LayoutOfTypeBytesAndValues)
{
    std::string bytes;
    CStreamPropExchange px(bytes, false);
    DWORD version = 0;
    px.ExchangeVersion(version, c_version, true);
    LONG number = 0x01020304;
    PX_Long(&px, "Number", number, 0);
    BOOL flag = TRUE;
    PX_Bool(&px, "Flag", flag, FALSE);
    OLE_COLOR color = 0xAABBCCDD;
    PX_Color(&px, "Color", color, 0);
    std::string text = "ab";
    PX_String(&px, "Text", text, "");
    const std::string expected("\x01\x00\x02\x00"
                               "\x03\x04\x03\x02\x01"
                               "\x0B\x01\x00\x00\x00"
                               "\x13\xDD\xCC\xBB\xAA"
                               "\x08\x02\x00\x00\x00"
                               "ab",
        26);
    EXPECT_EQ(bytes, expected);
}

TEST(StreamExchange, EveryTruncationLoadsDefaultsForTheRest)
{
    CSampleProps saved = changedProps();
    std::vector<std::size_t> ends;
    const std::string full = savedStream(saved, &ends);
    ASSERT_EQ(ends.size(), 8u);
    for (std::size_t length = 0; length < full.size(); ++length) {
        std::string bytes = full.substr(0, length);
        CSampleProps loaded;
        CStreamPropExchange px(bytes, true);
        loaded.exchange(&px);
        EXPECT_FALSE(px.complete()) << length;
        for (int n = 1; n <= 7; ++n) {
            const bool read = ends[n] <= length;
            EXPECT_TRUE(read ? holdsSaved(loaded, saved, n) : holdsDefault(loaded, n))
                << "length " << length << " item " << n << (read ? " saved" : " default");
        }
    }
}

TEST(StreamExchange, DamagedBytesNeverReadPastTheEnd)
{
    CSampleProps saved = changedProps();
    std::vector<std::size_t> ends;
    const std::string full = savedStream(saved, &ends);
    // Every byte set to values that make type bytes wrong and lengths huge.
    for (std::size_t at = 0; at < full.size(); ++at) {
        for (const unsigned char value : {0x00, 0x03, 0x08, 0x49, 0x7F, 0xFF}) {
            std::string bytes = full;
            bytes[at] = static_cast<char>(value);
            CSampleProps loaded;
            CStreamPropExchange px(bytes, true);
            loaded.exchange(&px);
            // A changed type byte always shows as an incomplete load.
            const bool typeByte = std::find(ends.begin(), ends.end() - 1, at) != ends.end() - 1;
            if (typeByte && static_cast<unsigned char>(full[at]) != value) {
                EXPECT_FALSE(px.complete()) << at << " " << int(value);
            }
        }
    }
}

TEST(StreamExchange, HugeLengthGivesDefaults)
{
    std::string bytes;
    {
        CStreamPropExchange px(bytes, false);
        DWORD version = 0;
        px.ExchangeVersion(version, c_version, true);
    }
    bytes += std::string("\x08\xFF\xFF\xFF\xFFxyz", 8);
    std::string text = "before";
    CStreamPropExchange px(bytes, true);
    DWORD version = 0;
    EXPECT_TRUE(px.ExchangeVersion(version, c_version, true));
    EXPECT_FALSE(PX_String(&px, "Text", text, "default"));
    EXPECT_EQ(text, "default");
    LONG after = 3;
    EXPECT_FALSE(PX_Long(&px, "After", after, 9));
    EXPECT_EQ(after, 9);
    EXPECT_FALSE(px.complete());
}

TEST(StreamExchange, ValueOfAnotherKindIsSkippedAndDefaulted)
{
    std::string bytes;
    {
        CStreamPropExchange px(bytes, false);
        DWORD version = 0;
        px.ExchangeVersion(version, c_version, true);
        std::string text = "not a number";
        PX_String(&px, "Number", text, "");
        LONG last = 44;
        PX_Long(&px, "Last", last, 0);
    }
    CStreamPropExchange px(bytes, true);
    DWORD version = 0;
    px.ExchangeVersion(version, c_version, true);
    LONG number = 1;
    LONG last = 1;
    EXPECT_FALSE(PX_Long(&px, "Number", number, 5));
    EXPECT_TRUE(PX_Long(&px, "Last", last, 0));
    EXPECT_EQ(number, 5);
    EXPECT_EQ(last, 44);
    EXPECT_FALSE(px.complete());
}

TEST(StreamExchange, OtherVersionIsStillRead)
{
    std::string bytes;
    {
        CStreamPropExchange px(bytes, false);
        DWORD version = 0;
        px.ExchangeVersion(version, 0x00010000, true);
        LONG number = 12;
        PX_Long(&px, "Number", number, 0);
    }
    CStreamPropExchange px(bytes, true);
    DWORD version = 0;
    EXPECT_TRUE(px.ExchangeVersion(version, c_version, true));
    EXPECT_EQ(version, 0x00010000u);
    EXPECT_EQ(px.GetVersion(), 0x00010000u);
    LONG number = 0;
    EXPECT_TRUE(PX_Long(&px, "Number", number, 5));
    EXPECT_EQ(number, 12);
    CStreamPropExchange strict(bytes, true);
    EXPECT_FALSE(strict.ExchangeVersion(version, c_version, false));
}

TEST(BagExchange, RoundTrip)
{
    CSampleProps saved = changedProps();
    std::string text;
    {
        CBagPropExchange px(text, false);
        saved.exchange(&px);
    }
    EXPECT_NE(text.find("BackColor=0x80FF00FF\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Font=Arial,12.5,700,0,1,0,0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("_Version=131073\n"), std::string::npos) << text;
    CSampleProps loaded;
    CBagPropExchange px(text, true);
    loaded.exchange(&px);
    EXPECT_TRUE(px.complete());
    expectSame(loaded, saved);
}

TEST(BagExchange, EscapingRoundTripsEveryByte)
{
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    all += "\\n\\\\r\\"; // escape-like sequences in the value itself
    const std::string escaped = zorBagEscape(all);
    EXPECT_EQ(escaped.find('\n'), std::string::npos);
    EXPECT_EQ(escaped.find('\r'), std::string::npos);
    EXPECT_EQ(zorBagUnescape(escaped), all);

    std::string text;
    {
        CBagPropExchange px(text, false);
        PX_String(&px, "Caption", all, "");
        std::string other = "after";
        PX_String(&px, "Other", other, "");
    }
    CBagPropExchange px(text, true);
    std::string caption;
    std::string other;
    EXPECT_TRUE(PX_String(&px, "Caption", caption, "x"));
    EXPECT_TRUE(PX_String(&px, "Other", other, "x"));
    EXPECT_EQ(caption, all);
    EXPECT_EQ(other, "after");
}

TEST(BagExchange, UnescapeKeepsStrayBackslashes)
{
    EXPECT_EQ(zorBagUnescape("a\\x\\"), "a\\x\\");
    EXPECT_EQ(zorBagUnescape("\\\\n"), "\\n");
}

TEST(BagExchange, MissingPropertiesTakeDefaultsAndLoadIsComplete)
{
    std::string text = "Unrelated=1\n";
    CSampleProps loaded = changedProps();
    CBagPropExchange px(text, true);
    loaded.exchange(&px);
    EXPECT_TRUE(px.complete());
    EXPECT_EQ(loaded.versionLoaded, c_version);
    for (int n = 1; n <= 7; ++n)
        EXPECT_TRUE(holdsDefault(loaded, n)) << n;
}

TEST(BagExchange, NamesIgnoreCaseAndLineEnds)
{
    std::string text = "number=42\r\nFLAG=0\r\nbackcolor=255\r\nCaption=x=y\r\n";
    CSampleProps loaded;
    CBagPropExchange px(text, true);
    loaded.exchange(&px);
    EXPECT_TRUE(px.complete());
    EXPECT_EQ(loaded.number, 42);
    EXPECT_FALSE(loaded.flag);
    EXPECT_EQ(loaded.color, 255u);
    EXPECT_EQ(loaded.caption, "x=y");
}

TEST(BagExchange, UnreadableValuesTakeDefaultsAndMarkTheLoad)
{
    std::string text = "Number=12abc\nBackColor=-1\nFont=Arial\nLast=99999999999\nFlag=0\n";
    CSampleProps loaded;
    CBagPropExchange px(text, true);
    loaded.exchange(&px);
    EXPECT_FALSE(px.complete());
    EXPECT_EQ(loaded.number, 5);
    EXPECT_EQ(loaded.color, 0x0F000000u);
    EXPECT_TRUE(loaded.font.desc() == defaultFont());
    EXPECT_EQ(loaded.last, -1);
    EXPECT_FALSE(loaded.flag); // the one readable value
}

TEST(BagExchange, RepeatedNameReadsInOrder)
{
    std::string text = "Font=Arial,9,400,0,0,0,0\nFont=Courier,10,400,0,0,0,0\n";
    CFontHolder first;
    CFontHolder second;
    CBagPropExchange px(text, true);
    EXPECT_TRUE(PX_Font(&px, "Font", first, FONTDESC()));
    EXPECT_TRUE(PX_Font(&px, "font", second, FONTDESC()));
    EXPECT_EQ(first.desc().lpstrName, "Arial");
    EXPECT_EQ(second.desc().lpstrName, "Courier");
}

TEST(DefaultExchange, EveryPropertyTakesItsDefault)
{
    CSampleProps loaded = changedProps();
    CDefaultPropExchange px;
    EXPECT_TRUE(px.IsLoading());
    loaded.exchange(&px);
    EXPECT_TRUE(px.complete());
    EXPECT_EQ(loaded.versionLoaded, c_version);
    for (int n = 1; n <= 7; ++n)
        EXPECT_TRUE(holdsDefault(loaded, n)) << n;
    EXPECT_FALSE(PX_Long(nullptr, "Number", loaded.number, 1));
}

// Fonts: description comparison and text form, the logical font and the font object.

#include "platform/ole/dispatchimpl.h"
#include "platform/ole/fontholder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

FONTDESC sansSerif825()
{
    FONTDESC d;
    d.lpstrName = "MS Sans Serif";
    d.cySize = 82500;
    d.sWeight = 400;
    d.fUnderline = TRUE;
    return d;
}

} // namespace

TEST(FontDesc, EqualityComparesEveryField)
{
    const FONTDESC a = sansSerif825();
    FONTDESC b = a;
    EXPECT_TRUE(a == b);
    b.fUnderline = 5; // any true value is the same flag
    EXPECT_TRUE(a == b);
    for (int field = 0; field < 7; ++field) {
        FONTDESC c = a;
        switch (field) {
        case 0:
            c.lpstrName = "Arial";
            break;
        case 1:
            c.cySize = 82501;
            break;
        case 2:
            c.sWeight = 700;
            break;
        case 3:
            c.sCharset = 2;
            break;
        case 4:
            c.fItalic = TRUE;
            break;
        case 5:
            c.fUnderline = FALSE;
            break;
        case 6:
            c.fStrikethrough = TRUE;
            break;
        }
        EXPECT_FALSE(a == c) << field;
    }
}

TEST(FontDescText, WrittenAsTheBagForm)
{
    EXPECT_EQ(zorFontDescText(sansSerif825()), "MS Sans Serif,8.25,400,0,0,1,0");
    FONTDESC d;
    EXPECT_EQ(zorFontDescText(d), "MS Sans Serif,8,400,0,0,0,0");
    d.cySize = 120005;
    d.fItalic = TRUE;
    d.fStrikethrough = TRUE;
    d.sCharset = 238;
    EXPECT_EQ(zorFontDescText(d), "MS Sans Serif,12.0005,400,238,1,0,1");
}

TEST(FontDescText, RoundTrip)
{
    FONTDESC weird;
    weird.lpstrName = "Face, with commas,";
    weird.cySize = 1;
    weird.sWeight = 1000;
    weird.sCharset = 255;
    weird.fItalic = TRUE;
    FONTDESC empty;
    empty.lpstrName.clear();
    // A control's font property of size 0 is saved with size 0 and must load again.
    // ... as must the largest size a 32-bit point size makes.
    FONTDESC sizeZero;
    sizeZero.cySize = 0;
    FONTDESC sizeLargest;
    sizeLargest.cySize = 2147483648LL * 10000;
    for (const FONTDESC& d : {sansSerif825(), FONTDESC(), weird, empty, sizeZero, sizeLargest}) {
        FONTDESC back;
        back.lpstrName = "other";
        ASSERT_TRUE(zorFontDescFromText(zorFontDescText(d), &back)) << zorFontDescText(d);
        EXPECT_TRUE(back == d) << zorFontDescText(d);
    }
}

TEST(FontDescText, MalformedTextIsRejectedAndLeavesTheTarget)
{
    for (const char* text : {"", "Arial", "Arial,8,400,0,0,1", "Arial,8,400,0,0,1,0,",
             "Arial,x,400,0,0,1,0", "Arial,8.,400,0,0,1,0", "Arial,8.12345,400,0,0,1,0",
             "Arial,,400,0,0,1,0", "Arial,12345678901,400,0,0,1,0", "Arial,-8,400,0,0,1,0",
             "Arial,8,heavy,0,0,1,0", "Arial,8,400,256,0,1,0", "Arial,8,400,0,2,1,0",
             "Arial,8,400,0,0,1, 0", "Arial,8,1001,0,0,0,0"}) {
        FONTDESC d = sansSerif825();
        EXPECT_FALSE(zorFontDescFromText(text, &d)) << text;
        EXPECT_TRUE(d == sansSerif825()) << text;
    }
}

TEST(FontHolder, LogicalFontAtTheDeviceResolution)
{
    CFontHolder holder(sansSerif825());
    LOGFONT lf = holder.logFont(96);
    EXPECT_EQ(lf.lfHeight, -11); // 8.25 * 96 / 72 = 11
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(holder.logFont(120).lfHeight, -14); // 13.75 rounds up
    FONTDESC d;
    d.cySize = 80000;
    d.fItalic = TRUE;
    d.fStrikethrough = TRUE;
    d.sCharset = 2;
    d.sWeight = 700;
    d.lpstrName = std::string(40, 'F');
    holder.setDesc(d);
    lf = holder.logFont(96);
    EXPECT_EQ(lf.lfHeight, -11); // 10.67 rounds to 11
    EXPECT_EQ(holder.logFont(72).lfHeight, -8);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfCharSet, 2);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(std::strlen(lf.lfFaceName), static_cast<std::size_t>(LF_FACESIZE - 1));
}

TEST(FontHolder, NotifiesOnlyOnChange)
{
    CFontHolder holder;
    int notes = 0;
    holder.setNotify([&] { ++notes; });
    holder.setDesc(FONTDESC());
    EXPECT_EQ(notes, 0);
    holder.setDesc(sansSerif825());
    EXPECT_EQ(notes, 1);
    EXPECT_TRUE(holder.desc() == sansSerif825());
}

TEST(FontObject, PropertiesEditTheHolder)
{
    CFontHolder holder(sansSerif825());
    int notes = 0;
    holder.setNotify([&] { ++notes; });
    IDispatch* font = holder.createFontDispatch();
    ASSERT_NE(font, nullptr);
    void* p = nullptr;
    EXPECT_EQ(font->QueryInterface(IID_IFontDisp, &p), S_OK);
    font->Release();

    COleVariant v;
    ASSERT_EQ(zorGetProperty(font, 0, &v), S_OK);
    EXPECT_EQ(v, COleVariant("MS Sans Serif"));
    ASSERT_EQ(zorGetProperty(font, 2, &v), S_OK);
    EXPECT_EQ(v.vt, VT_CY);
    EXPECT_EQ(v.cyVal.int64, 82500);
    ASSERT_EQ(zorGetProperty(font, 5, &v), S_OK);
    EXPECT_EQ(v, COleVariant::makeBool(true));

    EXPECT_EQ(zorPutProperty(font, 0, COleVariant("Arial")), S_OK);
    EXPECT_EQ(zorPutProperty(font, 2, COleVariant(12L)), S_OK); // points
    EXPECT_EQ(zorPutProperty(font, 3, COleVariant::makeBool(true)), S_OK);
    EXPECT_EQ(zorPutProperty(font, 4, COleVariant(-1L)), S_OK);
    EXPECT_EQ(zorPutProperty(font, 5, COleVariant::makeBool(false)), S_OK);
    EXPECT_EQ(zorPutProperty(font, 6, COleVariant::makeBool(true)), S_OK);
    EXPECT_EQ(zorPutProperty(font, 8, COleVariant(2L)), S_OK);
    const FONTDESC& d = holder.desc();
    EXPECT_EQ(d.lpstrName, "Arial");
    EXPECT_EQ(d.cySize, 120000);
    EXPECT_EQ(d.sWeight, 700);
    EXPECT_TRUE(d.fItalic);
    EXPECT_FALSE(d.fUnderline);
    EXPECT_TRUE(d.fStrikethrough);
    EXPECT_EQ(d.sCharset, 2);
    EXPECT_EQ(notes, 7);
    EXPECT_EQ(zorPutProperty(font, 7, COleVariant(300L)), S_OK);
    ASSERT_EQ(zorGetProperty(font, 3, &v), S_OK);
    EXPECT_EQ(v, COleVariant::makeBool(false));

    // Rejected values change nothing.
    EXPECT_EQ(zorPutProperty(font, 2, COleVariant(0L)), E_INVALIDARG);
    EXPECT_EQ(zorPutProperty(font, 8, COleVariant(300L)), E_INVALIDARG);
    EXPECT_EQ(zorPutProperty(font, 2, COleVariant("big")), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(holder.desc().cySize, 120000);
    EXPECT_EQ(notes, 8);

    // The holder sees changes made to its description directly.
    holder.setDesc(sansSerif825());
    ASSERT_EQ(zorGetProperty(font, 0, &v), S_OK);
    EXPECT_EQ(v, COleVariant("MS Sans Serif"));
    font->Release();
}

TEST(FontObject, OutlivesItsHolderSafely)
{
    IDispatch* font = nullptr;
    {
        CFontHolder holder(sansSerif825());
        font = holder.createFontDispatch();
    }
    COleVariant v;
    ASSERT_EQ(zorGetProperty(font, 0, &v), S_OK);
    EXPECT_EQ(v, COleVariant("MS Sans Serif"));
    EXPECT_EQ(zorPutProperty(font, 0, COleVariant("Arial")), S_OK);
    ASSERT_EQ(zorGetProperty(font, 0, &v), S_OK);
    EXPECT_EQ(v, COleVariant("Arial"));
    font->Release();
}

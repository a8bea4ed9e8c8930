// Font descriptions, the holder a control keeps and the font object handed out through
// dispatch.

#include "platform/ole/fontholder.h"

#include "platform/ole/dispatchimpl.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const IID IID_IFontDisp = [] {
    GUID g;
    zorGuidFromString("{BEF6E003-A874-101A-8BBA-00AA00300CAB}", &g);
    return g;
}();

namespace {

constexpr LONGLONG c_sizeScale = 10000;
constexpr SHORT c_weightNormal = 400;
constexpr SHORT c_weightBold = 700;

// The font object: edits the description of its holder while the holder lives, its own copy
// after.
class CFontDispatch : public CDispatchImpl
{
public:
    CFontDispatch(std::weak_ptr<CFontHolder*> holder, const FONTDESC& initial)
        : m_holder(std::move(holder)), m_last(initial)
    {
        addInterface(IID_IFontDisp);
        addProperty(
            0, "Name", VT_BSTR, [this] { return COleVariant(desc().lpstrName); },
            [this](const COleVariant& v) {
                return edit([&](FONTDESC& d) { d.lpstrName = v.bstrVal; });
            });
        addProperty(
            2, "Size", VT_CY, [this] { return COleVariant(COleCurrency(CY {desc().cySize})); },
            [this](const COleVariant& v) {
                if (v.cyVal.int64 <= 0)
                    return E_INVALIDARG;
                return edit([&](FONTDESC& d) { d.cySize = v.cyVal.int64; });
            });
        addProperty(
            3, "Bold", VT_BOOL,
            [this] { return COleVariant::makeBool(desc().sWeight >= c_weightBold); },
            [this](const COleVariant& v) {
                return edit([&](FONTDESC& d) {
                    d.sWeight = v.boolVal != VARIANT_FALSE ? c_weightBold : c_weightNormal;
                });
            });
        addFlag(4, "Italic", &FONTDESC::fItalic);
        addFlag(5, "Underline", &FONTDESC::fUnderline);
        addFlag(6, "Strikethrough", &FONTDESC::fStrikethrough);
        addProperty(
            7, "Weight", VT_I2, [this] { return COleVariant(desc().sWeight); },
            [this](const COleVariant& v) {
                if (v.iVal < 0 || v.iVal > 1000)
                    return E_INVALIDARG;
                return edit([&](FONTDESC& d) { d.sWeight = v.iVal; });
            });
        addProperty(
            8, "Charset", VT_I2, [this] { return COleVariant(desc().sCharset); },
            [this](const COleVariant& v) {
                if (v.iVal < 0 || v.iVal > 255)
                    return E_INVALIDARG;
                return edit([&](FONTDESC& d) { d.sCharset = v.iVal; });
            });
    }

private:
    CFontHolder* holder() const
    {
        const std::shared_ptr<CFontHolder*> self = m_holder.lock();
        return self ? *self : nullptr;
    }

    const FONTDESC& desc()
    {
        if (CFontHolder* h = holder())
            m_last = h->desc();
        return m_last;
    }

    template<typename F> HRESULT edit(F change)
    {
        FONTDESC d = desc();
        change(d);
        m_last = d;
        if (CFontHolder* h = holder())
            h->setDesc(d);
        return S_OK;
    }

    void addFlag(DISPID dispid, const char* name, BOOL FONTDESC::*flag)
    {
        addProperty(
            dispid, name, VT_BOOL,
            [this, flag] { return COleVariant::makeBool(desc().*flag != FALSE); },
            [this, flag](const COleVariant& v) {
                return edit([&](FONTDESC& d) { d.*flag = v.boolVal != VARIANT_FALSE; });
            });
    }

    std::weak_ptr<CFontHolder*> m_holder;
    FONTDESC m_last;
};

// Whole text as a long, or false.
bool parseLong(const std::string& text, long* value)
{
    if (text.empty() || !(text.front() == '-' || (text.front() >= '0' && text.front() <= '9')))
        return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size())
        return false;
    *value = v;
    return true;
}

// Points with up to four decimals, as ten-thousandths.
bool parsePoints(const std::string& text, LONGLONG* size)
{
    const std::size_t dot = text.find('.');
    const std::string units = text.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? std::string() : text.substr(dot + 1);
    // Ten digits hold every size a control's 32-bit point size property gives its font.
    if (units.empty() || units.size() > 10 || fraction.size() > 4
        || (dot != std::string::npos && fraction.empty()))
        return false;
    LONGLONG value = 0;
    for (const char c : units) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    LONGLONG part = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = i < fraction.size() ? fraction[i] : '0';
        if (c < '0' || c > '9')
            return false;
        part = part * 10 + (c - '0');
    }
    *size = value * c_sizeScale + part;
    return true;
}

std::string pointsText(LONGLONG size)
{
    std::string text;
    if (size < 0) {
        text = "-";
        size = -size;
    }
    text += std::to_string(size / c_sizeScale);
    LONGLONG fraction = size % c_sizeScale;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04lld", static_cast<long long>(fraction));
        std::string f = digits;
        while (f.back() == '0')
            f.pop_back();
        text += "." + f;
    }
    return text;
}

} // namespace

bool FONTDESC::operator==(const FONTDESC& o) const
{
    return lpstrName == o.lpstrName && cySize == o.cySize && sWeight == o.sWeight
        && sCharset == o.sCharset && (fItalic != FALSE) == (o.fItalic != FALSE)
        && (fUnderline != FALSE) == (o.fUnderline != FALSE)
        && (fStrikethrough != FALSE) == (o.fStrikethrough != FALSE);
}

CFontHolder& CFontHolder::operator=(const CFontHolder& other)
{
    if (this != &other) {
        m_notify = other.m_notify;
        setDesc(other.m_desc);
    }
    return *this;
}

CFontHolder::~CFontHolder()
{
    if (m_self)
        *m_self = nullptr;
}

void CFontHolder::setDesc(const FONTDESC& desc)
{
    if (m_desc == desc)
        return;
    m_desc = desc;
    if (m_notify)
        m_notify();
}

LOGFONT CFontHolder::logFont(int dpiY) const
{
    LOGFONT lf;
    // -MulDiv(points, dpi, 72) with the size in ten-thousandths: rounded to nearest, halves
    // away from zero.
    const LONGLONG numerator = m_desc.cySize * dpiY;
    const LONGLONG denominator = 72 * c_sizeScale;
    const LONGLONG half = denominator / 2;
    const LONGLONG height
        = numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
    lf.lfHeight = static_cast<LONG>(-height);
    lf.lfWeight = m_desc.sWeight;
    lf.lfItalic = m_desc.fItalic ? 1 : 0;
    lf.lfUnderline = m_desc.fUnderline ? 1 : 0;
    lf.lfStrikeOut = m_desc.fStrikethrough ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(m_desc.sCharset);
    std::strncpy(lf.lfFaceName, m_desc.lpstrName.c_str(), LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    return lf;
}

IDispatch* CFontHolder::createFontDispatch()
{
    if (!m_self)
        m_self = std::make_shared<CFontHolder*>(this);
    return new CFontDispatch(m_self, m_desc);
}

std::string zorFontDescText(const FONTDESC& desc)
{
    return desc.lpstrName + "," + pointsText(desc.cySize) + "," + std::to_string(desc.sWeight) + ","
        + std::to_string(desc.sCharset) + "," + (desc.fItalic ? "1" : "0") + ","
        + (desc.fUnderline ? "1" : "0") + "," + (desc.fStrikethrough ? "1" : "0");
}

bool zorFontDescFromText(const std::string& text, FONTDESC* desc)
{
    if (!desc)
        return false;
    // Six numbers at the end; the face name before them may itself hold commas.
    std::string fields[6];
    std::size_t end = text.size();
    for (int i = 5; i >= 0; --i) {
        const std::size_t comma = text.rfind(',', end == 0 ? std::string::npos : end - 1);
        if (comma == std::string::npos || end == 0)
            return false;
        fields[i] = text.substr(comma + 1, end - comma - 1);
        end = comma;
    }
    FONTDESC d;
    d.lpstrName = text.substr(0, end);
    long weight = 0;
    long charset = 0;
    long flags[3] {};
    // A size of 0 is what a control writes for a font property of size 0: it reads back.
    if (!parsePoints(fields[0], &d.cySize) || !parseLong(fields[1], &weight) || weight < 0
        || weight > 1000 || !parseLong(fields[2], &charset) || charset < 0 || charset > 255)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (!parseLong(fields[3 + i], &flags[i]) || (flags[i] != 0 && flags[i] != 1))
            return false;
    }
    d.sWeight = static_cast<SHORT>(weight);
    d.sCharset = static_cast<SHORT>(charset);
    d.fItalic = flags[0];
    d.fUnderline = flags[1];
    d.fStrikethrough = flags[2];
    *desc = d;
    return true;
}

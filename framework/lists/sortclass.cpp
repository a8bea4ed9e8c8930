#include "framework/lists/sortclass.h"

#include "framework/utilities/utilities.h"
#include "platform/types/oledatetime.h"

#include <cctype>
#include <cstdlib>

namespace {

// -1, 0 or 1 as a is below, equal to or above b. Numbers are compared, not subtracted: the
// difference of two 32-bit values does not always fit in the result.
template<class T> int signOf(T a, T b)
{
    return (a > b) - (a < b);
}

int compareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const int ca = std::tolower(static_cast<unsigned char>(*a));
        const int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0)
            return signOf(ca, cb);
    }
}

} // namespace

CSortClass::CSortClass(CListCtrl* pList, int nCol) : m_pList(pList), m_nCol(nCol)
{
    if (!m_pList || (m_pList->GetStyle() & LVS_OWNERDATA))
        return;
    const int count = m_pList->GetItemCount();
    // Reserved at once: each item's data points at its pair, which must not move.
    m_items.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        m_items.push_back({m_pList->GetItemData(i), m_pList->GetItemText(i, m_nCol)});
        m_pList->SetItemData(i, reinterpret_cast<DWORD_PTR>(&m_items.back()));
    }
}

CSortClass::~CSortClass()
{
    if (m_items.empty())
        return;
    // Only data that is one of the pairs goes back: an item the program added meanwhile keeps
    // its own.
    const auto* first = m_items.data();
    const auto* last = first + m_items.size();
    const int count = m_pList->GetItemCount();
    for (int i = 0; i < count; ++i) {
        const auto* pair = reinterpret_cast<const CSortItem*>(m_pList->GetItemData(i));
        if (pair >= first && pair < last)
            m_pList->SetItemData(i, pair->dwItemData);
    }
}

void CSortClass::Sort(BOOL bAsc, eSORTCTRLTYPE eType)
{
    if (m_items.empty())
        return;
    const LPARAM kind = static_cast<LPARAM>(eType);
    m_pList->SortItems(&CSortClass::Compare, static_cast<DWORD_PTR>(bAsc ? kind : -kind));
}

int CSortClass::Compare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const auto* item1 = reinterpret_cast<const CSortItem*>(lParam1);
    const auto* item2 = reinterpret_cast<const CSortItem*>(lParam2);
    if (!item1 || !item2)
        return 0;
    const int sign = lParamSort < 0 ? -1 : 1;
    const int kind = static_cast<int>(lParamSort < 0 ? -lParamSort : lParamSort);
    return compareTexts(item1->txtItem.c_str(), item2->txtItem.c_str(), kind) * sign;
}

int CSortClass::compareTexts(const char* text1, const char* text2, int kind)
{
    switch (kind) {
    case eSORT_INT:
        return signOf(std::strtoll(text1, nullptr, 10), std::strtoll(text2, nullptr, 10));
    case eSORT_TEXT:
        return compareNoCase(text1, text2);
    case eSORT_DATE: {
        COleDateTime date1;
        COleDateTime date2;
        if (!date1.ParseDateTime(text1) || !date2.ParseDateTime(text2))
            return 0;
        return date1 < date2 ? -1 : 1;
    }
    case eSORT_DEC:
        return std::strtod(text1, nullptr) < std::strtod(text2, nullptr) ? -1 : 1;
    case eSORT_HEX:
        return signOf(fromHex(text1), fromHex(text2));
    default:
        return 0;
    }
}

#pragma once

// The stock font page: edits every font-typed property of the objects (the stock Font at
// least) through their font objects: a face list, the size in points, and the Bold, Italic,
// Underline and Strikeout effects.

#include "platform/ole/fontholder.h"
#include "platform/ole/proppage.h"

#include <map>
#include <string>
#include <vector>

class CFontPage : public COlePropertyPage
{
public:
    enum eIDS {
        eIDS_TEMPLATE = 0x7F50,
        eIDS_PROPERTY = 0x7F51,
        eIDS_FACE = 0x7F52,
        eIDS_SIZE = 0x7F53,
        eIDS_BOLD = 0x7F54,
        eIDS_ITALIC = 0x7F55,
        eIDS_UNDERLINE = 0x7F56,
        eIDS_STRIKEOUT = 0x7F57,
    };

    CFontPage();

    // The font properties found on the first object, in the order shown.
    const std::vector<std::string>& fontProperties() const { return m_names; }
    // The faces offered: the substituted faces of the font service, then the system's.
    static std::vector<std::string> faceList();
    // Points as the size field shows them ("8", "8.25").
    static std::string formatPoints(LONGLONG cySize);

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void findProperties();
    void showFont(const std::string& name);
    void storeFont(const std::string& name);
    std::string currentName() const;

    std::vector<std::string> m_names;
    std::map<std::string, FONTDESC> m_fonts;
    int m_current {-1};
    bool m_filled {false};
};

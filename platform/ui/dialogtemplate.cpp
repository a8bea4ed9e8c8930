#include "platform/ui/dialogtemplate.h"

#include "platform/gdi/fonts.h"
#include "platform/gdi/logfont.h"
#include "platform/types/muldiv.h"

#include <QtGui/QFont>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

// The tables of all loaded modules, guarded because modules load and unload on any thread.
// Never destroyed: tables of modules unloaded at exit may still remove themselves after every
// other static of this library is gone.
struct DialogTables
{
    std::mutex lock;
    std::vector<const CDialogTableRegistrar*> tables;
};

DialogTables& dialogTables()
{
    static auto* tables = new DialogTables;
    return *tables;
}

ZorHostedControlFactory& hostedFactory()
{
    static ZorHostedControlFactory factory = nullptr;
    return factory;
}

// Base units per font, measured once (the measurement lays out text).
CSize baseUnits(const DialogTemplate& tmpl)
{
    static std::mutex lock;
    static std::vector<std::pair<std::pair<std::string, int>, CSize>> cache;
    const std::lock_guard<std::mutex> guard(lock);
    const std::pair<std::string, int> key {tmpl.fontFace ? tmpl.fontFace : "", tmpl.pointSize};
    for (const auto& [k, units] : cache) {
        if (k == key)
            return units;
    }
    const CSize units = zorDialogBaseUnits(key.first, key.second);
    cache.emplace_back(key, units);
    return units;
}

} // namespace

CDialogTableRegistrar::CDialogTableRegistrar(
    HMODULE module, std::initializer_list<DialogTemplate> templates)
    : m_module(module), m_templates(templates)
{
    DialogTables& all = dialogTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    all.tables.push_back(this);
}

CDialogTableRegistrar::~CDialogTableRegistrar()
{
    DialogTables& all = dialogTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    all.tables.erase(std::remove(all.tables.begin(), all.tables.end(), this), all.tables.end());
}

const DialogTemplate* CDialogTableRegistrar::find(UINT id) const
{
    for (const DialogTemplate& tmpl : m_templates) {
        if (tmpl.id == id)
            return &tmpl;
    }
    return nullptr;
}

const DialogTemplate* zorFindDialogTemplate(HMODULE module, UINT id)
{
    DialogTables& all = dialogTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    for (const CDialogTableRegistrar* table : all.tables) {
        if (table->module() != module)
            continue;
        if (const DialogTemplate* tmpl = table->find(id))
            return tmpl;
    }
    return nullptr;
}

const DialogTemplate* zorFindDialogTemplate(UINT id)
{
    if (const DialogTemplate* tmpl = zorFindDialogTemplate(AfxGetResourceHandle(), id))
        return tmpl;
    return zorFindDialogTemplate(nullptr, id);
}

CRect zorDialogUnitsToPixels(const DialogTemplate& tmpl, int x, int y, int cx, int cy)
{
    const CSize units = baseUnits(tmpl);
    // Position and size convert separately, as the platform places a template's controls.
    const int left = MulDiv(x, units.cx, 4);
    const int top = MulDiv(y, units.cy, 8);
    return CRect(left, top, left + MulDiv(cx, units.cx, 4), top + MulDiv(cy, units.cy, 8));
}

CRect zorItemRect(const DialogTemplate& tmpl, const DialogItem& item)
{
    return zorDialogUnitsToPixels(tmpl, item.x, item.y, item.cx, item.cy);
}

QFont zorDialogFont(const DialogTemplate& tmpl)
{
    LOGFONT logFont;
    // Points to pixels at the dialog's 96 dots per inch, as the platform sizes dialog fonts.
    logFont.lfHeight = -MulDiv(tmpl.pointSize, 96, 72);
    logFont.lfWeight = 400;
    const char* face = tmpl.fontFace ? tmpl.fontFace : "MS Sans Serif";
    std::strncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
    return zorQtFont(logFont, logFont.lfHeight);
}

ZorHostedControlFactory zorSetHostedControlFactory(ZorHostedControlFactory factory)
{
    const ZorHostedControlFactory previous = hostedFactory();
    hostedFactory() = factory;
    return previous;
}

ZorHostedControlFactory zorHostedControlFactory()
{
    return hostedFactory();
}

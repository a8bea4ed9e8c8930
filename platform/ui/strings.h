#pragma once

// String resources: each module carries a table of numbered texts, registered when the module
// is loaded and removed when it is unloaded. A module declares its table once, at namespace
// scope in one of its sources:
//
//     ZOR_STRING_TABLE({{101, "Host unavailable"}, {102, "Database Error: "}});
//
// LoadStringA looks a text up in the table of the module it is given; the null handle names
// the program, as on the platform.

#include "platform/module/module.h"
#include "platform/types/wintypes.h"

#include <initializer_list>
#include <map>
#include <string>

struct ZorStringEntry
{
    UINT id {0};
    const char* text {nullptr};
};

// One module's string table, registered for as long as the object lives.
class CStringTableRegistrar
{
public:
    CStringTableRegistrar(HMODULE module, std::initializer_list<ZorStringEntry> entries);
    ~CStringTableRegistrar();
    CStringTableRegistrar(const CStringTableRegistrar&) = delete;
    CStringTableRegistrar& operator=(const CStringTableRegistrar&) = delete;

    HMODULE module() const { return m_module; }
    // The text of an identifier, or null when the table has none.
    const std::string* find(UINT id) const;

private:
    HMODULE m_module {nullptr};
    std::map<UINT, std::string> m_texts;
};

#define ZOR_STRING_TABLE(...)                                                                      \
    namespace {                                                                                    \
    const CStringTableRegistrar zorModuleStringTable(ZOR_THIS_MODULE(), __VA_ARGS__);              \
    }                                                                                              \
    static_assert(true, "")

// Copies the text of string resource id of the module into the buffer, cut to bufferMax - 1
// characters and terminated; returns the number of characters copied, 0 when the module has
// no such text (the buffer then holds the empty text).
int LoadStringA(HMODULE hInstance, UINT uID, char* lpBuffer, int cchBufferMax);

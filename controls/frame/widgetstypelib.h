#pragma once

// The type library of zorwidgets29 (TYPELIB 1): one dispatch interface, one event interface
// and one coclass per control.

#include "platform/ole/typeinfo.h"
#include "platform/types/olevariant.h"

const ZorTypeLibrary* zorWidgetsTypeLibrary();
const ZorTypeInfo* zorLightTypeInfo();
const ZorTypeInfo* zorColorTypeInfo();
const ZorTypeInfo* zorUrlTypeInfo();

// A colour property's value as dispatch hands it out (VT_UI4, all 32 bits).
COleVariant zorColorVariant(DWORD value);
// A colour argument as dispatch delivered it (converted to VT_UI4).
DWORD zorColorOf(const COleVariant& value);

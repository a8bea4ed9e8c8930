#pragma once

// The suite's identity scheme: every class, interface and type library identifier of the
// suite's modules is {01540154-CCCC-0000-0029-00000000000K}, CCCC the number of the control or
// server and K the role.

#include "platform/ole/com.h"

// The identifier of number `controlNumber` in role `role` (1 type library, 2 dispatch interface,
// 3 event interface, 4 class, 5 to 7 pages).
constexpr GUID zorSuiteGuid(WORD controlNumber, BYTE role)
{
    return GUID {
        0x01540154u, controlNumber, 0x0000, {0x00, 0x29, 0x00, 0x00, 0x00, 0x00, 0x00, role}};
}

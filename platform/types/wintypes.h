#pragma once

// The fixed-width names the suite's code is written with, and the handle types of the
// platform services that stand behind platform/.

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using COLORREF = std::uint32_t;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;
using LPCVOID = const void*;
using HRESULT = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A loaded module: an opaque handle of the module service (platform/module).
struct ZorModule;
using HMODULE = ZorModule*;
using HINSTANCE = HMODULE;

// A window: an opaque handle of the window layer (platform/ui). Null means "no owner".
struct ZorWindow;
using HWND = ZorWindow*;

// Error codes as the Windows calls they stand for return them.
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_OUTOFMEMORY = 14;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_BADDB = 1009;
constexpr LONG ERROR_CANTWRITE = 1013;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

inline constexpr WORD LOWORD(DWORD v)
{
    return static_cast<WORD>(v & 0xFFFF);
}
inline constexpr WORD HIWORD(DWORD v)
{
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
inline constexpr DWORD MAKELONG(WORD low, WORD high)
{
    return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
}
inline constexpr LPARAM MAKELPARAM(int low, int high)
{
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high)));
}
inline constexpr WPARAM MAKEWPARAM(int low, int high)
{
    return static_cast<WPARAM>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high)));
}
// The signed coordinates of a point packed into a message's lParam.
inline constexpr int GET_X_LPARAM(LPARAM lp)
{
    return static_cast<SHORT>(LOWORD(static_cast<DWORD>(lp)));
}
inline constexpr int GET_Y_LPARAM(LPARAM lp)
{
    return static_cast<SHORT>(HIWORD(static_cast<DWORD>(lp)));
}
inline constexpr BYTE GetRValue(COLORREF c)
{
    return static_cast<BYTE>(c & 0xFF);
}
inline constexpr BYTE GetGValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
inline constexpr BYTE GetBValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 16) & 0xFF);
}
inline constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

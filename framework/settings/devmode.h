#pragma once

// The printer records the settings store keeps: the device mode, followed in its memory
// block by dmDriverExtra bytes of driver data at offset dmSize, and the device names, whose
// three texts follow the record at the character offsets it holds. Both are laid out as the
// platform's, with the printer variant of the device mode's field groups.

#include "platform/types/wintypes.h"

constexpr int CCHDEVICENAME = 32;
constexpr int CCHFORMNAME = 32;

struct DEVMODEA
{
    BYTE dmDeviceName[CCHDEVICENAME] {};
    WORD dmSpecVersion {0};
    WORD dmDriverVersion {0};
    WORD dmSize {0};
    WORD dmDriverExtra {0};
    DWORD dmFields {0};
    SHORT dmOrientation {0};
    SHORT dmPaperSize {0};
    SHORT dmPaperLength {0};
    SHORT dmPaperWidth {0};
    SHORT dmScale {0};
    SHORT dmCopies {0};
    SHORT dmDefaultSource {0};
    SHORT dmPrintQuality {0};
    SHORT dmColor {0};
    SHORT dmDuplex {0};
    SHORT dmYResolution {0};
    SHORT dmTTOption {0};
    SHORT dmCollate {0};
    BYTE dmFormName[CCHFORMNAME] {};
    WORD dmLogPixels {0};
    DWORD dmBitsPerPel {0};
    DWORD dmPelsWidth {0};
    DWORD dmPelsHeight {0};
    DWORD dmDisplayFlags {0};
    DWORD dmDisplayFrequency {0};
    DWORD dmICMMethod {0};
    DWORD dmICMIntent {0};
    DWORD dmMediaType {0};
    DWORD dmDitherType {0};
    DWORD dmReserved1 {0};
    DWORD dmReserved2 {0};
    DWORD dmPanningWidth {0};
    DWORD dmPanningHeight {0};
};
using DEVMODE = DEVMODEA;
static_assert(sizeof(DEVMODEA) == 156, "the device mode is laid out as the platform's");

struct DEVNAMES
{
    WORD wDriverOffset {0};
    WORD wDeviceOffset {0};
    WORD wOutputOffset {0};
    WORD wDefault {0};
};
static_assert(sizeof(DEVNAMES) == 8, "the device names are laid out as the platform's");

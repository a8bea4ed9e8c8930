#include "framework/settings/devmodecopy.h"

#include "platform/ui/messagebox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr WORD c_extra = 10;
constexpr std::size_t c_needed = sizeof(DEVMODE) + c_extra;
const char* const c_trace = "Can't copy driver extra bytes in subr line 52";

// A record with 10 bytes of driver data (1 to 10) after it.
std::vector<BYTE> sourceRecord()
{
    std::vector<BYTE> bytes(c_needed, 0);
    DEVMODE record;
    std::strcpy(reinterpret_cast<char*>(record.dmDeviceName), "Laser Writer");
    record.dmSize = sizeof(DEVMODE);
    record.dmDriverExtra = c_extra;
    record.dmCopies = 3;
    std::memcpy(bytes.data(), &record, sizeof record);
    for (WORD i = 0; i < c_extra; ++i)
        bytes[sizeof(DEVMODE) + i] = static_cast<BYTE>(i + 1);
    return bytes;
}

// The names block: driver, device and port texts after the header; a stray byte follows the
// port's terminating 0 and must not be copied.
const std::string c_texts = std::string("winspool\0Laser Writer\0LPT1:\0", 28);
std::vector<BYTE> sourceNames()
{
    std::vector<BYTE> bytes(sizeof(tagMyDEVNAMES) + c_texts.size() + 1, 0x77);
    tagMyDEVNAMES header;
    header.wDriverOffset = 8;
    header.wDeviceOffset = 17;
    header.wOutputOffset = 30;
    header.wDefault = 1;
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, c_texts.data(), c_texts.size());
    return bytes;
}

HGLOBAL handleOf(const std::vector<BYTE>& bytes)
{
    HGLOBAL handle = GlobalAlloc(GHND, bytes.size());
    std::memcpy(GlobalLock(handle), bytes.data(), bytes.size());
    GlobalUnlock(handle);
    return handle;
}

std::vector<BYTE> bytesOf(HGLOBAL handle)
{
    const auto* data = static_cast<const BYTE*>(GlobalLock(handle));
    std::vector<BYTE> bytes(data, data + GlobalSize(handle));
    GlobalUnlock(handle);
    return bytes;
}

// A block may change size only while nobody holds it locked.
bool isUnlocked(HGLOBAL handle)
{
    return GlobalReAlloc(handle, GlobalSize(handle), 0) != nullptr;
}

enum class Variant { Buffers, HandlesIn, HandlesOut, HandlesBoth };

struct CopyCase
{
    const char* name;
    Variant variant;
    // The destination block's size beside the needed length; with handles out, the
    // destination handles start null when nullOut is set.
    long sizeDelta;
    bool nullOut;
    // Whether the driver's bytes arrive (else the fixed part only, with the trace).
    bool whole;
};

class CopyDevMode : public testing::TestWithParam<CopyCase>
{
};

TEST_P(CopyDevMode, CopiesRecordAndNamesAsTheBlockAllows)
{
    const CopyCase& c = GetParam();
    const std::vector<BYTE> record = sourceRecord();
    const std::vector<BYTE> names = sourceNames();
    const std::size_t outSize = static_cast<std::size_t>(static_cast<long>(c_needed) + c.sizeDelta);
    // Everything in the destination starts non-zero, so clearing shows.
    std::vector<BYTE> recordOut(outSize, 0xCC);
    std::vector<BYTE> namesOut(64, 0xCC);
    HGLOBAL hRecordIn = handleOf(record);
    HGLOBAL hNamesIn = handleOf(names);
    HGLOBAL hRecordOut = c.nullOut ? nullptr : handleOf(recordOut);
    HGLOBAL hNamesOut = c.nullOut ? nullptr : handleOf(std::vector<BYTE>(4, 0xCC));
    // The caller may still hold the destination locked: the copy takes the block over.
    if (hRecordOut) {
        GlobalLock(hRecordOut);
        GlobalLock(hRecordOut);
    }
    const auto* recordIn = reinterpret_cast<const DEVMODE*>(record.data());
    const auto* namesIn = reinterpret_cast<const tagMyDEVNAMES*>(names.data());
    auto* pRecordOut = reinterpret_cast<DEVMODE*>(recordOut.data());
    auto* pNamesOut = reinterpret_cast<tagMyDEVNAMES*>(namesOut.data());

    CRecordingDebugSink trace;
    BOOL copied = FALSE;
    switch (c.variant) {
    case Variant::Buffers:
        copied = copyDevModeAndNames(
            pRecordOut, recordOut.size(), pNamesOut, namesOut.size(), recordIn, namesIn);
        break;
    case Variant::HandlesIn:
        copied = copyDevModeAndNamesHIn(
            pRecordOut, recordOut.size(), pNamesOut, namesOut.size(), hRecordIn, hNamesIn);
        break;
    case Variant::HandlesOut:
        copied = copyDevModeAndNamesHOut(hRecordOut, hNamesOut, recordIn, namesIn);
        break;
    case Variant::HandlesBoth:
        copied = copyDevModeAndNamesHH(hRecordOut, hNamesOut, hRecordIn, hNamesIn);
        break;
    }
    EXPECT_TRUE(copied);
    if (c.variant == Variant::HandlesOut || c.variant == Variant::HandlesBoth) {
        ASSERT_NE(hRecordOut, nullptr);
        ASSERT_NE(hNamesOut, nullptr);
        EXPECT_TRUE(isUnlocked(hRecordOut));
        EXPECT_TRUE(isUnlocked(hNamesOut));
        recordOut = bytesOf(hRecordOut);
        namesOut = bytesOf(hNamesOut);
    }
    EXPECT_TRUE(isUnlocked(hRecordIn));
    EXPECT_TRUE(isUnlocked(hNamesIn));

    ASSERT_GE(recordOut.size(), sizeof(DEVMODE));
    DEVMODE fixed;
    std::memcpy(&fixed, recordOut.data(), sizeof fixed);
    EXPECT_EQ(std::memcmp(recordOut.data(), record.data(), offsetof(DEVMODE, dmDriverExtra)), 0);
    EXPECT_EQ(fixed.dmCopies, 3);
    if (c.whole) {
        EXPECT_EQ(fixed.dmDriverExtra, c_extra);
        EXPECT_EQ(
            std::vector<BYTE>(recordOut.begin() + sizeof(DEVMODE), recordOut.begin() + c_needed),
            std::vector<BYTE>(record.begin() + sizeof(DEVMODE), record.end()));
        EXPECT_EQ(trace.output.find(c_trace), std::string::npos);
    } else {
        EXPECT_EQ(fixed.dmDriverExtra, 0);
        // The rest of the block is cleared.
        EXPECT_EQ(std::vector<BYTE>(recordOut.begin() + sizeof(DEVMODE), recordOut.end()),
            std::vector<BYTE>(recordOut.size() - sizeof(DEVMODE), 0));
        EXPECT_NE(trace.output.find(c_trace), std::string::npos);
    }
    // The names up to the port's text, terminated; nothing after it.
    const std::size_t namesLength = sizeof(tagMyDEVNAMES) + c_texts.size();
    ASSERT_GE(namesOut.size(), namesLength);
    EXPECT_EQ(std::memcmp(namesOut.data(), names.data(), namesLength), 0);
    if (namesOut.size() > namesLength) {
        EXPECT_NE(namesOut[namesLength], 0x77);
    }

    GlobalFree(hRecordIn);
    GlobalFree(hNamesIn);
    if (hRecordOut) {
        while (GlobalUnlock(hRecordOut)) { }
        GlobalFree(hRecordOut);
    }
    GlobalFree(hNamesOut);
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyDevMode,
    testing::Values(CopyCase {"BuffersLargeEnough", Variant::Buffers, 0, false, true},
        CopyCase {"BuffersTenBytesTooSmall", Variant::Buffers, -10, false, false},
        CopyCase {"HandlesInLargeEnough", Variant::HandlesIn, 4, false, true},
        CopyCase {"HandlesInTenBytesTooSmall", Variant::HandlesIn, -10, false, false},
        CopyCase {"HandlesOutGrowLockedBlock", Variant::HandlesOut, -10, false, true},
        CopyCase {"HandlesOutNullHandles", Variant::HandlesOut, 0, true, true},
        CopyCase {"HandlesBothGrow", Variant::HandlesBoth, -10, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase
{
    const char* name;
    std::size_t recordSize;
    std::size_t namesSize;
    bool recordCopied;
    bool namesCopied;
};

class CopyDevModeRefused : public testing::TestWithParam<RefusedCase>
{
};

TEST_P(CopyDevModeRefused, NothingOfAPartThatDoesNotFitIsWritten)
{
    const RefusedCase& c = GetParam();
    const std::vector<BYTE> record = sourceRecord();
    const std::vector<BYTE> names = sourceNames();
    std::vector<BYTE> recordOut(c.recordSize + 8, 0xCC);
    std::vector<BYTE> namesOut(c.namesSize + 8, 0xCC);
    const BOOL copied = copyDevModeAndNames(reinterpret_cast<DEVMODE*>(recordOut.data()),
        c.recordSize, reinterpret_cast<tagMyDEVNAMES*>(namesOut.data()), c.namesSize,
        reinterpret_cast<const DEVMODE*>(record.data()),
        reinterpret_cast<const tagMyDEVNAMES*>(names.data()));
    EXPECT_FALSE(copied);
    EXPECT_EQ(recordOut[0] == 'L', c.recordCopied);
    EXPECT_EQ(namesOut[0] == 8, c.namesCopied);
    // Never a byte beyond the sizes given.
    EXPECT_EQ(recordOut[c.recordSize], 0xCC);
    EXPECT_EQ(namesOut[c.namesSize], 0xCC);
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyDevModeRefused,
    testing::Values(
        RefusedCase {"RecordSmallerThanItsFixedPart", sizeof(DEVMODE) - 1, 64, false, true},
        RefusedCase {"NamesWithoutRoomForTheTerminator", c_needed, 8 + 28 - 1, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

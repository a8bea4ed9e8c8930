#include "platform/module/elfsection.h"
#include "platform/module/fileversioninfo.h"

#include "tests/platform/module/guardedbuffer.h"
#include "tests/support/tempfolder.h"

#include <elf.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string binFile(const char* name)
{
    const char* bin = std::getenv("ZORVEX_BIN_DIR");
    return std::string(bin ? bin : "") + "/" + name;
}

std::string programPath()
{
    char path[PATH_MAX] {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

std::vector<BYTE> readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const std::string& path, const std::vector<BYTE>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The version data of a file, as a caller of the version calls holds it.
class VersionData
{
public:
    explicit VersionData(const std::string& path)
    {
        DWORD handle = 1;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        EXPECT_EQ(handle, 0u);
        if (size == 0)
            return;
        m_data.assign(size, 0xAA);
        if (!GetFileVersionInfoA(path.c_str(), handle, size, m_data.data()))
            m_data.clear();
    }

    bool valid() const { return !m_data.empty(); }

    VS_FIXEDFILEINFO fixed()
    {
        VS_FIXEDFILEINFO info;
        void* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA(m_data.data(), "\\", &value, &length) && length == sizeof info)
            std::memcpy(&info, value, sizeof info);
        return info;
    }

    std::string text(const char* name)
    {
        const std::string subBlock = std::string("\\StringFileInfo\\040904e4\\") + name;
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(m_data.data(), subBlock.c_str(), &value, &length))
            return "<none>";
        return static_cast<const char*>(value);
    }

    std::vector<WORD> translation()
    {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(m_data.data(), "\\VarFileInfo\\Translation", &value, &length))
            return {};
        std::vector<WORD> words(length / 2);
        std::memcpy(words.data(), value, words.size() * 2);
        return words;
    }

private:
    std::vector<BYTE> m_data;
};

// A small ELF image: header, one section of payload, the section name table, and the section
// headers (null, ".zorversion", ".shstrtab").
struct ElfImage
{
    std::vector<BYTE> bytes;
    std::size_t sectionHeaders {0};

    Elf64_Ehdr header() const
    {
        Elf64_Ehdr h;
        std::memcpy(&h, bytes.data(), sizeof h);
        return h;
    }
    void setHeader(const Elf64_Ehdr& h) { std::memcpy(bytes.data(), &h, sizeof h); }
    Elf64_Shdr section(int index) const
    {
        Elf64_Shdr s;
        std::memcpy(&s, bytes.data() + sectionHeaders + index * sizeof s, sizeof s);
        return s;
    }
    void setSection(int index, const Elf64_Shdr& s)
    {
        std::memcpy(bytes.data() + sectionHeaders + index * sizeof s, &s, sizeof s);
    }
};

ElfImage makeElf(const std::vector<BYTE>& payload)
{
    static const char names[] = "\0.zorversion\0.shstrtab";
    ElfImage image;
    image.bytes.assign(sizeof(Elf64_Ehdr), 0);
    const std::size_t payloadOffset = image.bytes.size();
    image.bytes.insert(image.bytes.end(), payload.begin(), payload.end());
    const std::size_t namesOffset = image.bytes.size();
    image.bytes.insert(image.bytes.end(), names, names + sizeof names);
    while (image.bytes.size() % 8)
        image.bytes.push_back(0);
    image.sectionHeaders = image.bytes.size();
    image.bytes.resize(image.sectionHeaders + 3 * sizeof(Elf64_Shdr), 0);

    Elf64_Ehdr h {};
    std::memcpy(h.e_ident, ELFMAG, SELFMAG);
    h.e_ident[EI_CLASS] = ELFCLASS64;
    h.e_ident[EI_DATA] = ELFDATA2LSB;
    h.e_ident[EI_VERSION] = EV_CURRENT;
    h.e_type = ET_DYN;
    h.e_machine = EM_X86_64;
    h.e_version = EV_CURRENT;
    h.e_ehsize = sizeof h;
    h.e_shoff = image.sectionHeaders;
    h.e_shentsize = sizeof(Elf64_Shdr);
    h.e_shnum = 3;
    h.e_shstrndx = 2;
    image.setHeader(h);

    Elf64_Shdr version {};
    version.sh_name = 1;
    version.sh_type = SHT_PROGBITS;
    version.sh_offset = payloadOffset;
    version.sh_size = payload.size();
    image.setSection(1, version);
    Elf64_Shdr table {};
    table.sh_name = 13;
    table.sh_type = SHT_STRTAB;
    table.sh_offset = namesOffset;
    table.sh_size = sizeof names;
    image.setSection(2, table);
    return image;
}

bool findIn(const ElfImage& image, std::vector<BYTE>& section)
{
    GuardedBuffer guarded(image.bytes);
    return zorReadElfSection(guarded.data(), guarded.size(), ".zorversion", 0x10000, section);
}

const std::vector<BYTE> PAYLOAD = {1, 2, 3, 4, 5, 6, 7, 8, 9};

} // namespace

TEST(BuiltModuleVersion, FrameworkCarriesTheSuiteVersions)
{
    for (const char* name : {"zorplatform.so", "zorbase29.so"}) {
        SCOPED_TRACE(name);
        VersionData data(binFile(name));
        ASSERT_TRUE(data.valid());
        const VS_FIXEDFILEINFO fixed = data.fixed();
        EXPECT_EQ(fixed.dwSignature, VS_FFI_SIGNATURE);
        EXPECT_EQ(fixed.dwFileVersionMS, (2002u << 16) | 6u);
        EXPECT_EQ(fixed.dwFileVersionLS, (24u << 16) | 29u);
        EXPECT_EQ(fixed.dwProductVersionMS, (2u << 16) | 1u);
        EXPECT_EQ(fixed.dwProductVersionLS, 29u);
        EXPECT_EQ(fixed.dwFileType, VFT_DLL);
        EXPECT_EQ(data.translation(), (std::vector<WORD> {0x0409, 0x04E4}));
        EXPECT_EQ(data.text("ProductVersion"), "2.1.0.29");
        EXPECT_EQ(data.text("FileVersion"), "2002.6.24.29");
        EXPECT_EQ(data.text("OriginalFilename"), name);
        EXPECT_EQ(data.text("CompanyName"), ZOR_TEST_COMPANY_NAME);
        EXPECT_EQ(data.text("LegalCopyright"), ZOR_TEST_LEGAL_COPYRIGHT);
        EXPECT_EQ(data.text("LegalTrademarks"), "");
    }
    VersionData base(binFile("zorbase29.so"));
    EXPECT_EQ(base.text("InternalName"), "zorbase29");
}

TEST(BuiltModuleVersion, ProgramCarriesAnApplicationBlock)
{
    VersionData data(ZOR_TEST_PROGRAM);
    ASSERT_TRUE(data.valid());
    EXPECT_EQ(data.fixed().dwFileType, VFT_APP);
    EXPECT_EQ(data.fixed().dwFileVersionMS, (2002u << 16) | 6u);
    EXPECT_EQ(data.text("OriginalFilename"), "zortestprogram");
    EXPECT_EQ(data.text("ProductName"), "Test program");
    EXPECT_EQ(data.text("FileDescription"), "zortestprogram");
}

TEST(BuiltModuleVersion, SizeLeavesRoomForTheTextsAndIsNeededWhole)
{
    const std::string path = binFile("zorbase29.so");
    std::vector<BYTE> section;
    ASSERT_TRUE(zorReadElfSection(path, ".zorversion", 0x10000, section));
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    EXPECT_EQ(size, zorVersionDataSize(zorReadWord(section.data())));
    EXPECT_GE(size, section.size() * 2);

    std::vector<BYTE> data(size);
    EXPECT_FALSE(GetFileVersionInfoA(path.c_str(), 0, size - 1, data.data()));
    EXPECT_FALSE(GetFileVersionInfoA(path.c_str(), 0, size, nullptr));
    EXPECT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
}

TEST(FileWithoutVersion, HasSizeZero)
{
    TempFolder folder;
    const std::string text = folder.file("readme.txt");
    std::ofstream(text) << "not a module\n";
    const std::string empty = folder.file("empty.so");
    std::ofstream(empty).flush();
    std::vector<BYTE> program = readAll(programPath());
    ASSERT_GT(program.size(), 1000u);

    for (const std::string& path :
        {programPath(), text, empty, folder.path(), folder.file("missing.so"), std::string()}) {
        DWORD handle = 7;
        EXPECT_EQ(GetFileVersionInfoSizeA(path.c_str(), &handle), 0u) << path;
        EXPECT_EQ(handle, 0u);
        BYTE data[4096];
        EXPECT_FALSE(GetFileVersionInfoA(path.c_str(), 0, sizeof data, data)) << path;
    }
    EXPECT_EQ(GetFileVersionInfoSizeA(nullptr, nullptr), 0u);
}

TEST(FileWithoutVersion, TruncatedModuleHasSizeZero)
{
    TempFolder folder;
    const std::vector<BYTE> whole = readAll(binFile("zorbase29.so"));
    ASSERT_GT(whole.size(), 4096u);
    const std::string cut = folder.file("cut.so");
    for (const std::size_t size : {whole.size() / 2, whole.size() - 1, std::size_t {64}}) {
        writeAll(cut, std::vector<BYTE>(whole.begin(), whole.begin() + static_cast<long>(size)));
        DWORD handle = 0;
        EXPECT_EQ(GetFileVersionInfoSizeA(cut.c_str(), &handle), 0u) << size << " bytes";
    }
}

class DamagedModule : public testing::Test
{
protected:
    void SetUp() override
    {
        m_bytes = readAll(binFile("zorbase29.so"));
        std::vector<BYTE> section;
        ASSERT_TRUE(zorReadElfSection(binFile("zorbase29.so"), ".zorversion", 0x10000, section));
        const auto found
            = std::search(m_bytes.begin(), m_bytes.end(), section.begin(), section.end());
        ASSERT_NE(found, m_bytes.end());
        m_block = static_cast<std::size_t>(found - m_bytes.begin());
    }

    std::string write()
    {
        const std::string path = m_folder.file("damaged.so");
        writeAll(path, m_bytes);
        return path;
    }

    TempFolder m_folder;
    std::vector<BYTE> m_bytes;
    std::size_t m_block {0};
};

TEST_F(DamagedModule, RootLongerThanItsSection)
{
    m_bytes[m_block] = 0xFF;
    m_bytes[m_block + 1] = 0xFF;
    DWORD handle = 0;
    EXPECT_EQ(GetFileVersionInfoSizeA(write().c_str(), &handle), 0u);
}

TEST_F(DamagedModule, DamagedStringTableLeavesTheFixedPart)
{
    // The first child of the root, "StringFileInfo", gets a length past the root's end.
    const std::size_t child = m_block + 40 + sizeof(VS_FIXEDFILEINFO);
    ASSERT_EQ(m_bytes[child + 6], 'S');
    m_bytes[child] = 0xFF;
    m_bytes[child + 1] = 0x7F;
    VersionData data(write());
    ASSERT_TRUE(data.valid());
    EXPECT_EQ(data.fixed().dwFileVersionMS, (2002u << 16) | 6u);
    EXPECT_EQ(data.text("ProductName"), "<none>");
    EXPECT_TRUE(data.translation().empty()) << "nodes after the damaged one are not read";
}

TEST(ElfSection, FoundInAWellFormedImage)
{
    std::vector<BYTE> section;
    ASSERT_TRUE(findIn(makeElf(PAYLOAD), section));
    EXPECT_EQ(section, PAYLOAD);
    GuardedBuffer guarded(makeElf(PAYLOAD).bytes);
    EXPECT_FALSE(zorReadElfSection(guarded.data(), guarded.size(), ".zorvers", 0x10000, section))
        << "a prefix of the name is another name";
    EXPECT_FALSE(zorReadElfSection(guarded.data(), guarded.size(), ".zorversion", 8, section))
        << "larger than allowed";
}

TEST(ElfSection, EveryTruncationIsRefused)
{
    const ElfImage image = makeElf(PAYLOAD);
    for (std::size_t size = 0; size < image.bytes.size(); ++size) {
        GuardedBuffer guarded(
            std::vector<BYTE>(image.bytes.begin(), image.bytes.begin() + static_cast<long>(size)));
        std::vector<BYTE> section;
        EXPECT_FALSE(
            zorReadElfSection(guarded.data(), guarded.size(), ".zorversion", 0x10000, section))
            << size << " bytes";
    }
}

struct HeaderDamage
{
    const char* name;
    void (*damage)(ElfImage&);
};

class ElfDamage : public testing::TestWithParam<HeaderDamage>
{
};

TEST_P(ElfDamage, IsRefused)
{
    ElfImage image = makeElf(PAYLOAD);
    GetParam().damage(image);
    std::vector<BYTE> section;
    EXPECT_FALSE(findIn(image, section));
}

INSTANTIATE_TEST_SUITE_P(Headers, ElfDamage,
    testing::Values(HeaderDamage {"SectionTableWrapsAround",
                        [](ElfImage& i) {
                            Elf64_Ehdr h = i.header();
                            h.e_shoff = ~0ULL - 16;
                            i.setHeader(h);
                        }},
        HeaderDamage {"ManySections",
            [](ElfImage& i) {
                Elf64_Ehdr h = i.header();
                h.e_shnum = 0xFFFF;
                h.e_shstrndx = 0xFFF0;
                i.setHeader(h);
            }},
        HeaderDamage {"ShortSectionHeaders",
            [](ElfImage& i) {
                Elf64_Ehdr h = i.header();
                h.e_shentsize = 16;
                i.setHeader(h);
            }},
        HeaderDamage {"SectionPastTheEnd",
            [](ElfImage& i) {
                Elf64_Shdr s = i.section(1);
                s.sh_size = i.bytes.size();
                i.setSection(1, s);
            }},
        HeaderDamage {"SectionSizeHuge",
            [](ElfImage& i) {
                Elf64_Shdr s = i.section(1);
                s.sh_size = ~0ULL;
                i.setSection(1, s);
            }},
        HeaderDamage {"NameOffsetPastTheTable",
            [](ElfImage& i) {
                Elf64_Shdr s = i.section(1);
                s.sh_name = 0x7FFFFFFF;
                i.setSection(1, s);
            }},
        HeaderDamage {"NameWithoutTerminator",
            [](ElfImage& i) {
                Elf64_Shdr s = i.section(2);
                s.sh_size = 12; // the table ends inside ".zorversion"
                i.setSection(2, s);
            }}),
    [](const testing::TestParamInfo<HeaderDamage>& info) { return std::string(info.param.name); });

#include "platform/module/elfsection.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// The section name table is read whole; real ones are a few hundred bytes.
constexpr std::uint64_t MAX_NAME_TABLE = 1 << 20;
constexpr std::uint64_t MAX_SECTIONS = 1 << 16;

class Source
{
public:
    virtual ~Source() = default;
    virtual std::uint64_t size() const = 0;
    // Reads exactly n bytes at offset; false when they are not all inside the source.
    virtual bool read(std::uint64_t offset, std::size_t n, BYTE* out) const = 0;

protected:
    bool inside(std::uint64_t offset, std::uint64_t n) const
    {
        return offset <= size() && n <= size() - offset;
    }
};

class MemorySource : public Source
{
public:
    MemorySource(const BYTE* image, std::size_t size) : m_image(image), m_size(image ? size : 0) { }
    std::uint64_t size() const override { return m_size; }
    bool read(std::uint64_t offset, std::size_t n, BYTE* out) const override
    {
        if (!inside(offset, n))
            return false;
        if (n > 0)
            std::memcpy(out, m_image + offset, n);
        return true;
    }

private:
    const BYTE* m_image {nullptr};
    std::uint64_t m_size {0};
};

class FileSource : public Source
{
public:
    explicit FileSource(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {
        struct stat info
        {
        };
        if (m_fd >= 0 && ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode))
            m_size = static_cast<std::uint64_t>(info.st_size);
    }
    ~FileSource() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t size() const override { return m_size; }
    bool read(std::uint64_t offset, std::size_t n, BYTE* out) const override
    {
        if (m_fd < 0 || !inside(offset, n))
            return false;
        std::size_t done = 0;
        while (done < n) {
            const ssize_t got
                = ::pread(m_fd, out + done, n - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int m_fd {-1};
    std::uint64_t m_size {0};
};

// Field readers for either byte order.
struct Fields
{
    bool bigEndian {false};

    std::uint64_t get(const BYTE* p, int width) const
    {
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            const int shift = bigEndian ? (width - 1 - i) * 8 : i * 8;
            value |= static_cast<std::uint64_t>(p[i]) << shift;
        }
        return value;
    }
};

struct SectionHeader
{
    std::uint64_t name {0};
    std::uint64_t type {0};
    std::uint64_t offset {0};
    std::uint64_t size {0};
    std::uint64_t link {0};
};

class ElfReader
{
public:
    explicit ElfReader(const Source& source) : m_source(source) { }

    bool readHeader()
    {
        BYTE ident[EI_NIDENT];
        if (!m_source.read(0, EI_NIDENT, ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0)
            return false;
        if (ident[EI_CLASS] != ELFCLASS32 && ident[EI_CLASS] != ELFCLASS64)
            return false;
        if (ident[EI_DATA] != ELFDATA2LSB && ident[EI_DATA] != ELFDATA2MSB)
            return false;
        m_64 = ident[EI_CLASS] == ELFCLASS64;
        m_fields.bigEndian = ident[EI_DATA] == ELFDATA2MSB;

        BYTE header[sizeof(Elf64_Ehdr)];
        const std::size_t headerSize = m_64 ? sizeof(Elf64_Ehdr) : sizeof(Elf32_Ehdr);
        if (!m_source.read(0, headerSize, header))
            return false;
        if (m_64) {
            m_sectionOffset = field(header, offsetof(Elf64_Ehdr, e_shoff), 8);
            m_entrySize = field(header, offsetof(Elf64_Ehdr, e_shentsize), 2);
            m_count = field(header, offsetof(Elf64_Ehdr, e_shnum), 2);
            m_nameIndex = field(header, offsetof(Elf64_Ehdr, e_shstrndx), 2);
        } else {
            m_sectionOffset = field(header, offsetof(Elf32_Ehdr, e_shoff), 4);
            m_entrySize = field(header, offsetof(Elf32_Ehdr, e_shentsize), 2);
            m_count = field(header, offsetof(Elf32_Ehdr, e_shnum), 2);
            m_nameIndex = field(header, offsetof(Elf32_Ehdr, e_shstrndx), 2);
        }
        const std::uint64_t minimumEntry = m_64 ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
        if (m_sectionOffset == 0 || m_entrySize < minimumEntry)
            return false;

        // Many sections: the real count and name index live in section 0.
        if (m_count == 0 || m_nameIndex == SHN_XINDEX) {
            SectionHeader first;
            if (!section(0, first))
                return false;
            if (m_count == 0)
                m_count = first.size;
            if (m_nameIndex == SHN_XINDEX)
                m_nameIndex = first.link;
        }
        if (m_count == 0 || m_count > MAX_SECTIONS || m_nameIndex >= m_count)
            return false;
        return true;
    }

    bool find(const char* name, std::size_t maxSize, std::vector<BYTE>& bytes)
    {
        SectionHeader names;
        if (!section(m_nameIndex, names) || names.type == SHT_NOBITS || names.size == 0
            || names.size > MAX_NAME_TABLE)
            return false;
        std::vector<BYTE> table(static_cast<std::size_t>(names.size));
        if (!m_source.read(names.offset, table.size(), table.data()))
            return false;

        const std::size_t nameLength = std::strlen(name);
        for (std::uint64_t i = 0; i < m_count; ++i) {
            SectionHeader candidate;
            if (!section(i, candidate))
                return false;
            if (candidate.name >= table.size() || table.size() - candidate.name <= nameLength)
                continue;
            const BYTE* text = table.data() + candidate.name;
            if (std::memcmp(text, name, nameLength) != 0 || text[nameLength] != 0)
                continue;
            if (candidate.type == SHT_NOBITS || candidate.size > maxSize)
                return false;
            std::vector<BYTE> data(static_cast<std::size_t>(candidate.size));
            if (!m_source.read(candidate.offset, data.size(), data.data()))
                return false;
            bytes = std::move(data);
            return true;
        }
        return false;
    }

private:
    std::uint64_t field(const BYTE* base, std::size_t offset, int width) const
    {
        return m_fields.get(base + offset, width);
    }

    bool section(std::uint64_t index, SectionHeader& header) const
    {
        if (index >= MAX_SECTIONS || m_entrySize > 0x10000)
            return false;
        const std::uint64_t offset = m_sectionOffset + index * m_entrySize;
        if (offset < m_sectionOffset)
            return false;
        BYTE raw[sizeof(Elf64_Shdr)];
        const std::size_t rawSize = m_64 ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
        if (!m_source.read(offset, rawSize, raw))
            return false;
        if (m_64) {
            header.name = field(raw, offsetof(Elf64_Shdr, sh_name), 4);
            header.type = field(raw, offsetof(Elf64_Shdr, sh_type), 4);
            header.offset = field(raw, offsetof(Elf64_Shdr, sh_offset), 8);
            header.size = field(raw, offsetof(Elf64_Shdr, sh_size), 8);
            header.link = field(raw, offsetof(Elf64_Shdr, sh_link), 4);
        } else {
            header.name = field(raw, offsetof(Elf32_Shdr, sh_name), 4);
            header.type = field(raw, offsetof(Elf32_Shdr, sh_type), 4);
            header.offset = field(raw, offsetof(Elf32_Shdr, sh_offset), 4);
            header.size = field(raw, offsetof(Elf32_Shdr, sh_size), 4);
            header.link = field(raw, offsetof(Elf32_Shdr, sh_link), 4);
        }
        return true;
    }

    const Source& m_source;
    Fields m_fields;
    bool m_64 {true};
    std::uint64_t m_sectionOffset {0};
    std::uint64_t m_entrySize {0};
    std::uint64_t m_count {0};
    std::uint64_t m_nameIndex {0};
};

bool readSection(
    const Source& source, const char* name, std::size_t maxSize, std::vector<BYTE>& bytes)
{
    if (!name || !*name)
        return false;
    ElfReader reader(source);
    return reader.readHeader() && reader.find(name, maxSize, bytes);
}

} // namespace

bool zorReadElfSection(
    const std::string& path, const char* name, std::size_t maxSize, std::vector<BYTE>& bytes)
{
    const FileSource source(path);
    return readSection(source, name, maxSize, bytes);
}

bool zorReadElfSection(const BYTE* image, std::size_t size, const char* name, std::size_t maxSize,
    std::vector<BYTE>& bytes)
{
    const MemorySource source(image, size);
    return readSection(source, name, maxSize, bytes);
}

#pragma once

// Bytes placed so that they end exactly where an inaccessible page begins: a read or write
// past their end stops the test with a fault instead of passing unnoticed.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

class GuardedBuffer
{
public:
    explicit GuardedBuffer(const std::vector<unsigned char>& bytes) : m_size(bytes.size())
    {
        const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        m_dataPages = (m_size + page - 1) / page * page;
        if (m_dataPages == 0)
            m_dataPages = page;
        m_mapping = mmap(nullptr, m_dataPages + page, PROT_READ | PROT_WRITE,
            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        EXPECT_NE(m_mapping, MAP_FAILED);
        auto* base = static_cast<unsigned char*>(m_mapping);
        EXPECT_EQ(mprotect(base + m_dataPages, page, PROT_NONE), 0);
        m_data = base + m_dataPages - m_size;
        if (m_size > 0)
            std::memcpy(m_data, bytes.data(), m_size);
        m_total = m_dataPages + page;
    }
    ~GuardedBuffer() { munmap(m_mapping, m_total); }
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    unsigned char* data() { return m_data; }
    std::size_t size() const { return m_size; }
    // Whether [p, p + n) lies inside the bytes.
    bool holds(const void* p, std::size_t n) const
    {
        const auto* c = static_cast<const unsigned char*>(p);
        return c >= m_data && c <= m_data + m_size
            && n <= static_cast<std::size_t>(m_data + m_size - c);
    }

private:
    void* m_mapping {nullptr};
    unsigned char* m_data {nullptr};
    std::size_t m_size {0};
    std::size_t m_dataPages {0};
    std::size_t m_total {0};
};

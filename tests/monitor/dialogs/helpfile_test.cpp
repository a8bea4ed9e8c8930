// The help file the build compiles beside the program: a compiled HTML help file (ITSF) that
// holds every file its project names, whole, and is not older than any of them.

#include "monitor/monitorfiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::uint64_t little(const Bytes& b, std::size_t at, int size)
{
    std::uint64_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    return v;
}

// The variable-length numbers of the directory: seven bits a byte, the high bit set on every
// byte but the last.
std::uint64_t encint(const Bytes& b, std::size_t& at)
{
    std::uint64_t v = 0;
    unsigned char byte = 0;
    do {
        byte = b.at(at++);
        v = v << 7 | (byte & 0x7F);
    } while (byte & 0x80);
    return v;
}

// The directory of a compiled help file: the length of every stored file by its name.
using ChmDirectory = std::map<std::string, std::uint64_t>;

ChmDirectory readDirectory(const Bytes& b)
{
    ChmDirectory directory;
    const std::uint64_t dirOffset = little(b, 0x48, 8);
    EXPECT_EQ(std::string(b.begin() + static_cast<long>(dirOffset),
                  b.begin() + static_cast<long>(dirOffset) + 4),
        "ITSP");
    const std::uint64_t headerLength = little(b, dirOffset + 8, 4);
    const std::uint64_t chunkSize = little(b, dirOffset + 0x10, 4);
    const std::uint64_t chunks = little(b, dirOffset + 0x2C, 4);
    for (std::uint64_t c = 0; c < chunks; ++c) {
        const std::size_t chunk = dirOffset + headerLength + c * chunkSize;
        if (std::string(
                b.begin() + static_cast<long>(chunk), b.begin() + static_cast<long>(chunk) + 4)
            != "PMGL")
            continue;
        const std::size_t end = chunk + chunkSize - little(b, chunk + 4, 4);
        std::size_t at = chunk + 0x14;
        while (at < end) {
            const std::uint64_t nameLength = encint(b, at);
            const std::string name(
                b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + nameLength));
            at += nameLength;
            encint(b, at); // section
            encint(b, at); // offset
            directory[name] = encint(b, at);
        }
    }
    return directory;
}

// The files the project names: its contents and index files and its [FILES] section.
std::vector<std::string> projectFiles(const std::string& path)
{
    std::vector<std::string> files;
    std::ifstream in(path);
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        if (line.size() > 2 && line.front() == '[')
            section = line;
        else if (line.rfind("Contents file=", 0) == 0 || line.rfind("Index file=", 0) == 0)
            files.push_back(line.substr(line.find('=') + 1));
        else if (section == "[FILES]" && !line.empty())
            files.push_back(line);
    }
    return files;
}

} // namespace

TEST(HelpFile, BesideTheProgramHoldingEveryPageOfItsProject)
{
    const char* bin = std::getenv("ZORVEX_BIN_DIR");
    ASSERT_NE(bin, nullptr) << "run through ctest";
    const std::string path = monitorHelpFilePath(std::string(bin) + "/");
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path << " was not built";
    const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 0x60u);
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "ITSF");

    const std::vector<std::string> files = projectFiles(ZOR_HELP_PROJECT);
    ASSERT_GE(files.size(), 11u) << "the manual's nine topics, its contents and its index";
    const ChmDirectory directory = readDirectory(bytes);
    const std::filesystem::path source = std::filesystem::path(ZOR_HELP_PROJECT).parent_path();
    const auto built = std::filesystem::last_write_time(path);
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        const auto found = directory.find("/" + name);
        ASSERT_TRUE(found != directory.end()) << "not in the help file";
        EXPECT_EQ(found->second, std::filesystem::file_size(source / name));
        EXPECT_GE(built, std::filesystem::last_write_time(source / name)) << "the build is stale";
    }
}

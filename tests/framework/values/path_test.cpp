#include "framework/values/path.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

struct SplitCase
{
    const char* name;
    const char* path;
    const char* drive;
    const char* dir;
    const char* file;
    const char* ext;
};

class PathSplit : public testing::TestWithParam<SplitCase>
{
};

TEST_P(PathSplit, FourParts)
{
    const CPath path(GetParam().path);
    EXPECT_EQ(path.getDrive(), GetParam().drive);
    EXPECT_EQ(path.getDir(), GetParam().dir);
    EXPECT_EQ(path.getFile(), GetParam().file);
    EXPECT_EQ(path.getExt(), GetParam().ext);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathSplit,
    testing::Values(
        SplitCase {"Windows", "C:\\dir\\sub\\file.txt", "C:", "\\dir\\sub\\", "file", ".txt"},
        SplitCase {"Linux", "/usr/local/lib/zorvex/zorbase29.so", "", "/usr/local/lib/zorvex/",
            "zorbase29", ".so"},
        SplitCase {"MixedSeparators", "C:/dir\\sub/file.txt", "C:", "/dir\\sub/", "file", ".txt"},
        SplitCase {
            "LastDotIsTheExtension", "/tmp/archive.tar.gz", "", "/tmp/", "archive.tar", ".gz"},
        SplitCase {"DotInDirectory", "/opt/v1.2/readme", "", "/opt/v1.2/", "readme", ""},
        SplitCase {"NameOnly", "corvane", "", "", "corvane", ""},
        SplitCase {"DriveAndName", "D:name.ext", "D:", "", "name", ".ext"},
        SplitCase {"ColonNotAfterALetter", "1:x", "", "", "1:x", ""},
        SplitCase {"HiddenFile", "/home/u/.profile", "", "/home/u/", "", ".profile"}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(PathCompose, ChangedExtension)
{
    CPath path("C:\\dir\\sub\\file.txt");
    path.setExt(".bak");
    EXPECT_EQ(path.getPath(), "C:\\dir\\sub\\file.bak");
    path.setExt("old");
    EXPECT_EQ(path.getPath(), "C:\\dir\\sub\\file.old") << "the missing point is added";
    path.setExt("");
    EXPECT_EQ(path.getPath(), "C:\\dir\\sub\\file");
}

struct ComposeCase
{
    const char* name;
    const char* drive;
    const char* dir;
    const char* file;
    const char* ext;
    const char* path;
};

class PathComposeParts : public testing::TestWithParam<ComposeCase>
{
};

TEST_P(PathComposeParts, Composes)
{
    CPath path;
    path.setDrive(GetParam().drive);
    path.setDir(GetParam().dir);
    path.setFile(GetParam().file);
    path.setExt(GetParam().ext);
    EXPECT_EQ(path.getPath(), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Parts, PathComposeParts,
    testing::Values(
        ComposeCase {"BackslashAdded", "C:", "\\dir\\sub", "file", "txt", "C:\\dir\\sub\\file.txt"},
        ComposeCase {"SlashAdded", "", "/usr/lib", "x", ".so", "/usr/lib/x.so"},
        ComposeCase {"SlashWhenNoSeparator", "", "lib", "x", "so", "lib/x.so"},
        ComposeCase {"LastSeparatorKind", "", "C:/a\\b", "x", "", "C:/a\\b\\x"},
        ComposeCase {"DriveLetterGetsColon", "E", "\\", "x", "", "E:\\x"},
        ComposeCase {"NoDirectory", "", "", "name", "ext", "name.ext"}),
    [](const testing::TestParamInfo<ComposeCase>& info) { return std::string(info.param.name); });

TEST(PathCompose, SplitThenComposeGivesThePathBack)
{
    for (const char* text : {"C:\\dir\\sub\\file.txt", "/usr/local/lib/zorvex/zorbase29.so",
             "relative/name", "D:x.y", "/"}) {
        EXPECT_EQ(CPath(text).getPath(), text);
    }
}

TEST(PathCompose, ConversionsGiveTheComposedPath)
{
    CPath path("/a/b.c");
    path.setFile("d");
    const std::string text = path;
    EXPECT_EQ(text, "/a/d.c");
    EXPECT_STREQ(static_cast<const char*>(path), "/a/d.c");
}

TEST(PathLimits, PartsAreCut)
{
    CPath path;
    path.setDrive("XYZ");
    EXPECT_EQ(path.getDrive(), "XY");
    path.setDir(std::string(300, 'd'));
    path.setFile(std::string(300, 'f'));
    path.setExt(std::string(300, 'e'));
    EXPECT_EQ(path.getDir().size(), 255u);
    EXPECT_EQ(path.getFile().size(), 255u);
    EXPECT_EQ(path.getExt().size(), 255u);
    const std::string composed = path.getPath();
    EXPECT_EQ(composed.size(), 519u) << "the composed path is cut, not overflowed";
    EXPECT_EQ(composed.substr(0, 3), "X:d");
}

TEST(PathLimits, LongPathIsCutWhenSplit)
{
    const std::string longDir = "/" + std::string(400, 'a') + "/";
    const CPath path(longDir + std::string(400, 'b') + "." + std::string(400, 'c'));
    EXPECT_EQ(path.getDir(), longDir.substr(0, 255));
    EXPECT_EQ(path.getFile(), std::string(255, 'b'));
    EXPECT_EQ(path.getExt(), "." + std::string(254, 'c'));
}

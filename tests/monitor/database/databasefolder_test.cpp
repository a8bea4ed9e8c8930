// Where the monitor's database lies: beside the program in a run from the build, else in the
// user's data folder, made there from the installed empty database on the first start.

#include "monitor/monitorfiles.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

void write(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "<missing>";
}

struct Layout
{
    const char* name;
    bool besideProgram; // corvane.mdb in the program's directory
    bool installed; // share/zorvex/corvane.mdb of the installation
    bool usersOwn; // the user's database already there
    bool dataFolderBlocked; // a file stands where the user's data folder would be made
    bool expectProgramDirectory;
    const char* expectUsersDatabase;
    bool expectError;
};

TEST(MonitorDatabaseFolder, ChoosesAndMakesTheDatabaseOfTheLayout)
{
    const Layout layouts[] = {
        {"build folder", true, true, false, false, true, "<missing>", false},
        {"first start", false, true, false, false, false, "empty", false},
        {"later start", false, true, true, false, false, "history", false},
        {"nothing installed", false, false, false, false, false, "<missing>", false},
        {"data folder blocked", false, true, false, true, false, "<missing>", true},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        TempFolder root;
        const std::string program = root.file("usr/lib/zorvex/");
        const std::string data = root.file("home/.local/share");
        fs::create_directories(program);
        ASSERT_EQ(setenv("XDG_DATA_HOME", data.c_str(), 1), 0);
        if (layout.besideProgram)
            write(program + "corvane.mdb", "build");
        if (layout.installed)
            write(root.file("usr/share/zorvex/corvane.mdb"), "empty");
        if (layout.usersOwn)
            write(data + "/zorvex/corvane.mdb", "history");
        if (layout.dataFolderBlocked)
            write(data, "not a folder");

        std::string error;
        const std::string chosen = monitorDatabaseDirectory(program, &error);

        EXPECT_EQ(chosen, layout.expectProgramDirectory ? program : data + "/zorvex/");
        EXPECT_EQ(read(data + "/zorvex/corvane.mdb"), layout.expectUsersDatabase);
        EXPECT_EQ(!error.empty(), layout.expectError) << error;
        // Nothing half made is left beside the user's database.
        EXPECT_FALSE(fs::exists(data + "/zorvex/corvane.mdb.creating"));
        if (std::string(layout.expectUsersDatabase) == "empty") {
            struct stat info = {};
            ASSERT_EQ(stat((data + "/zorvex").c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u) << "the data folder is the user's alone";
        }
        // The installed database is never changed.
        if (layout.installed) {
            EXPECT_EQ(read(root.file("usr/share/zorvex/corvane.mdb")), "empty");
        }
    }
    unsetenv("XDG_DATA_HOME");
}

} // namespace

#include "monitor/monitorfiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The system's own messages name the database "corvane.mdb"; the file keeps that name although
// it is an SQLite file. The program opens it as "Corvane.mdb" on a system whose file names do
// not distinguish case; here one spelling is used throughout.
static const char* const c_databaseFile = "corvane.mdb";
static const char* const c_scratchFile = "new.mdb";
static const char* const c_helpFile = "Corvane.chm";

// Where the installation puts the empty database, seen from the program's directory; the
// build gives it from the installation's folder layout.
#ifndef ZOR_INSTALLED_DATABASE
#define ZOR_INSTALLED_DATABASE "../../share/zorvex/corvane.mdb"
#endif

namespace {

bool isFile(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The folder and every missing folder above it, private to the user.
bool makeFolders(const std::string& folder)
{
    struct stat info = {};
    if (stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    const auto slash = folder.find_last_of('/', folder.size() > 1 ? folder.size() - 2 : 0);
    if (slash != std::string::npos && slash > 0 && !makeFolders(folder.substr(0, slash)))
        return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool copyWhole(int from, int to)
{
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(from, buffer, sizeof buffer);
        if (got == 0)
            return fsync(to) == 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(to, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno != EINTR)
                return false;
            done += put > 0 ? put : 0;
        }
    }
}

std::string failure(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// Copies the installed empty database to `database`; the empty text, or what went wrong.
std::string copyInstalledDatabase(const std::string& source, const std::string& database)
{
    const int from = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return failure("Can't read", source);
    const std::string partial = database + ".creating";
    unlink(partial.c_str());
    const int to = open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (to < 0) {
        const std::string error = failure("Can't create", partial);
        close(from);
        return error;
    }
    const bool copied = copyWhole(from, to);
    std::string error = copied ? std::string() : failure("Can't copy to", partial);
    close(from);
    if (close(to) != 0 && error.empty())
        error = failure("Can't write", partial);
    // A link never replaces a database another start of the program made meanwhile.
    if (error.empty() && link(partial.c_str(), database.c_str()) != 0 && errno != EEXIST)
        error = failure("Can't create", database);
    unlink(partial.c_str());
    return error;
}

} // namespace

std::string monitorDatabasePath(const std::string& databaseDirectory)
{
    return databaseDirectory + c_databaseFile;
}

std::string monitorScratchDatabasePath(const std::string& databaseDirectory)
{
    return databaseDirectory + c_scratchFile;
}

std::string monitorHelpFilePath(const std::string& programDirectory)
{
    return programDirectory + c_helpFile;
}

std::string monitorUserDataDirectory()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        return std::string(data) + "/zorvex/";
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env) {
        home = env;
    } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return home + "/.local/share/zorvex/";
}

std::string monitorInstalledDatabasePath(const std::string& programDirectory)
{
    return programDirectory + ZOR_INSTALLED_DATABASE;
}

std::string monitorDatabaseDirectory(const std::string& programDirectory, std::string* error)
{
    if (isFile(monitorDatabasePath(programDirectory)))
        return programDirectory;
    const std::string directory = monitorUserDataDirectory();
    const std::string database = monitorDatabasePath(directory);
    const std::string installed = monitorInstalledDatabasePath(programDirectory);
    if (isFile(database) || !isFile(installed))
        return directory;
    std::string reason;
    if (!makeFolders(directory))
        reason = failure("Can't create folder", directory);
    else
        reason = copyInstalledDatabase(installed, database);
    if (error)
        *error = reason;
    return directory;
}

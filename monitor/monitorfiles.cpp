#include "monitor/monitorfiles.h"

#include "framework/version/moduleversion.h"

// The system's own messages name the database "corvane.mdb"; the file keeps that name although
// it is an SQLite file. The program opens it as "Corvane.mdb" on a system whose file names do
// not distinguish case; here one spelling is used throughout.
static const char* const c_databaseFile = "corvane.mdb";
static const char* const c_scratchFile = "new.mdb";
static const char* const c_helpFile = "Corvane.chm";

std::string monitorDatabasePath(const std::string& programDirectory)
{
    return programDirectory + c_databaseFile;
}

std::string monitorScratchDatabasePath(const std::string& programDirectory)
{
    return programDirectory + c_scratchFile;
}

std::string monitorHelpFilePath(const std::string& programDirectory)
{
    return programDirectory + c_helpFile;
}

std::string monitorDatabasePath()
{
    return monitorDatabasePath(getModuleDirectory());
}

std::string monitorScratchDatabasePath()
{
    return monitorScratchDatabasePath(getModuleDirectory());
}

std::string monitorHelpFilePath()
{
    return monitorHelpFilePath(getModuleDirectory());
}

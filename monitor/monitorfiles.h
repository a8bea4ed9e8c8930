#pragma once

// The files the monitor keeps beside the program: its database, the scratch file of a
// compaction and the help file. The program's directory is where the program file lies (the
// build's bin folder when run from the build); it ends with the path separator.

#include <string>

// The monitor database. The file is delivered beside the program; the program never creates it.
std::string monitorDatabasePath(const std::string& programDirectory);
// The scratch file a compaction writes before it takes the database's place.
std::string monitorScratchDatabasePath(const std::string& programDirectory);
// The help file the Help command opens.
std::string monitorHelpFilePath(const std::string& programDirectory);

// The same for the running program's own directory.
std::string monitorDatabasePath();
std::string monitorScratchDatabasePath();
std::string monitorHelpFilePath();

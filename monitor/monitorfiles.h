#pragma once

// The files of the monitor: its database, the scratch file of a compaction and the help file.
// Directories end with the path separator.
//
// The program's directory is where the program file lies (the build's bin folder when run
// from the build). The help file lies there. The database lies there too when it is there:
// that is a run from the build folder, whose database the build made beside the program.
// An installed monitor's directory is shared by every user of the machine and not theirs to
// write, and holds no database: each user's database is then corvane.mdb in the user's data
// folder ($XDG_DATA_HOME/zorvex/, ~/.local/share/zorvex/ when XDG_DATA_HOME is unset or not an
// absolute path), made on the first start as a copy of the installed empty database
// (share/zorvex/corvane.mdb of the installation). The scratch file of a compaction lies beside
// the database in use, so that it can take the database's place by a rename.

#include <string>

// The monitor database in a database directory. The program never creates its tables: the
// file is the one the build or the installation delivers.
std::string monitorDatabasePath(const std::string& databaseDirectory);
// The scratch file a compaction writes before it takes the database's place.
std::string monitorScratchDatabasePath(const std::string& databaseDirectory);
// The help file the Help command opens.
std::string monitorHelpFilePath(const std::string& programDirectory);

// The user's own folder for the monitor's data.
std::string monitorUserDataDirectory();
// The installed empty database that a user's first database is copied from.
std::string monitorInstalledDatabasePath(const std::string& programDirectory);

// The directory whose database the monitor uses: the program's directory when the database
// lies there, else the user's data folder. When the user's database does not exist yet and
// the installed empty one does, the user's is made from it first (whole or not at all: it is
// copied under another name and renamed into place, never over a file that appeared
// meanwhile). On a failure to make it, the reason is put in *error; the directory is returned
// all the same, and the caller finds no database there.
std::string monitorDatabaseDirectory(const std::string& programDirectory, std::string* error);

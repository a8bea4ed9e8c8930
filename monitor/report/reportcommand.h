#pragma once

// The command line of corvane-report: which report, of which database, over which period, in
// which form.
//
//     corvane-report [availability|outages|latency] [--from WHEN] [--to WHEN]
//                    [--by day|week|month] [--host HOST] [--csv|--json] [--database FILE]
//
// WHEN is a local date (YYYY-MM-DD) or date and time (YYYY-MM-DDTHH:MM[:SS], or with a space);
// a date alone given to --to takes that whole day. The period is [from, to): by default the 30
// days up to now. A period that reaches beyond now ends now, since nothing is known of the
// time to come. The database is the monitor's own (the one beside the program when there is
// one there, else the user's, see monitorfiles.h) unless --database names another; it is only
// read, never created or changed.

#include <iosfwd>
#include <string>
#include <vector>

// Runs the command line (the words after the program's name) and returns the exit status:
// 0 with the report on out; 1 with one line on err when the database cannot be read; 2 for a
// wrong command line.
int runCorvaneReport(const std::vector<std::string>& words, const std::string& programDirectory,
    std::ostream& out, std::ostream& err);

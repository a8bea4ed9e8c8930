#pragma once

// The workspace's one operation the suite uses: compaction of a closed database into a new
// file.
//
// The store reclaims no space by itself, so compaction writes a fresh copy of the database
// (VACUUM INTO): every table, view, index and row, the counters of assigned keys included, in
// as few pages as they need. As with the original engine, the source must be closed by every
// program: compaction takes the source's lock for itself and fails when another connection
// has the file open. The source is left as it was, except that its write-ahead log, if any,
// is folded into it first. The copy is written to disk before CompactDatabase returns; a copy
// left unfinished by a failure is removed. The destination must not exist.
//
// The locale names the collating order of the engine of old; this store compares texts as its
// columns are declared, so the locale is accepted and has no effect. Options: none.

#include <string>

// The general collating order of the original engine.
inline constexpr const char* dbLangGeneral = ";LANGID=0x0409;CP=1252;COUNTRY=0";

class CDaoWorkspace
{
public:
    // Throws CDaoException with the engine's description on failure.
    static void CompactDatabase(const std::string& lpszSrcName, const std::string& lpszDestName,
        const std::string& lpszLocale = dbLangGeneral, int nOptions = 0);
};

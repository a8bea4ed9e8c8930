#pragma once

// The registry: a hierarchical settings store with three roots, reached through the calls
// the suite's code is written against. Each call returns an error code as the registry call
// it stands for does.
//
// Where it lives: one SQLite file per root in the user's store folder, which is
// ZORVEX_REGISTRY when that is set, else $XDG_CONFIG_HOME/zorvex/registry
// (~/.config/zorvex/registry when XDG_CONFIG_HOME is unset or not an absolute path). The
// folder is looked up again on every call through a root handle, so a changed ZORVEX_REGISTRY
// takes effect at the next call; handles opened before the change keep working on the store
// they were opened in. A root's file and the folder are created on the first write, never on
// a read.
//
// Two layers: below the user's store lies a machine-wide one, where the suite's installation
// registers its modules for every user. Its folder is ZORVEX_MACHINE_REGISTRY when that is set;
// else there is none when ZORVEX_REGISTRY is set (a relocated store is the whole store); else
// it is the folder compiled in (/var/lib/zorvex/registry unless the build chose another).
// When it names the user's own folder there is one layer only, and everything is as above.
//  - What the user sees: through the classes root and the local-machine root (and every key
//    opened below them) a key stands for the key of that path in both layers, the user's
//    first. A value of the user's hides the machine's value of the same name; the subkeys are
//    those of both, each name once (in the user's spelling where both have it), in the one
//    alphabetical order; the values are the user's in their order, then the machine's the user
//    does not have; the counts and longest lengths are those of this merged view. The
//    current-user root is the user's store alone.
//  - Where writes go: always to the user's store, so that an ordinary user changes settings
//    the machine layer provides. A value set or a key created whose key exists only in the
//    machine layer first gets that key's path in the user's store. The machine layer itself
//    is never changed through these calls: a deleted value or key that still exists there
//    afterwards (the user's part, if any, is gone) gives ERROR_ACCESS_DENIED.
//  - The machine layer's files are read-only to every process reading them this way: they are
//    opened immutable and opened afresh when they change on disk. A damaged one is reported
//    like a damaged file of the user's and reads as empty.
// The administration tools write the machine layer by making it the whole store for a while
// (see zorMachineRegistryStore below).
//
// Names: key and value names compare without regard to ASCII case; the spelling first written
// is kept and shown by the enumerations. Key paths use "\" between names; empty components
// (a leading, trailing or doubled "\") are ignored. A key name has at most 255 characters.
// The default (unnamed) value of a key has the empty name; a null name means the same.
//
// Values are raw bytes with their type code, stored and returned exactly as written: a text
// written without a terminating zero is read back without one.
//
// Several processes may use the store at once: each write is one transaction, readers never
// see a value half written, and a writer waits for another (up to a busy timeout) instead of
// failing at once.
//
// A damaged or unreadable root file (not a database, or failing its integrity check when it
// is opened) is reported once per process on standard error with its path; that root then
// reads as empty and every write to it fails with ERROR_BADDB. The file is never changed.
//
// A root whose file (or, before it exists, whose folder) is not writable is read-only: reads
// work, writes fail with ERROR_ACCESS_DENIED. Writability is decided by the file's mode bits
// for the process's user and groups, not by access(), so that a read-only store behaves the
// same for the superuser, whom the file system itself would let write.
//
// All calls are safe to make from several threads.

#include "platform/types/wintypes.h"

#include <cstdint>
#include <string>

// A key handle: one of the three root values below, or a key opened by RegOpenKeyExA or
// RegCreateKeyExA, which RegCloseKey releases.
struct ZorRegKey;
using HKEY = ZorRegKey*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;
using LPCBYTE = const BYTE*;

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// Time of the last write to a key: 100-nanosecond intervals since 1 January 1601 (UTC).
struct FILETIME
{
    DWORD dwLowDateTime {0};
    DWORD dwHighDateTime {0};
};
using PFILETIME = FILETIME*;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u)))

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

// Access rights of a key handle.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// RegCreateKeyExA options and dispositions.
constexpr DWORD REG_OPTION_NON_VOLATILE = 0x0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Further error codes of the registry calls.
constexpr LONG ERROR_KEY_DELETED = 1018;

// Opens an existing key below hKey. A null or empty subkey opens hKey itself again.
// ERROR_FILE_NOT_FOUND when a key on the path does not exist.
LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);

// Opens a key below hKey, creating it and every missing key on the path in one transaction.
// The disposition (optional) tells whether the key was created or already there.
LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
    REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
    LPDWORD lpdwDisposition);

// Reads a value. Type and data are optional; with data null, *lpcbData receives the size.
// When the buffer is smaller than the value, nothing is copied, *lpcbData receives the size
// needed and the result is ERROR_MORE_DATA.
LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
    LPBYTE lpData, LPDWORD lpcbData);

// Writes a value of any type as cbData raw bytes, replacing a value of the same name.
LONG RegSetValueExA(
    HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData, DWORD cbData);

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);

// The subkey at an index, in alphabetical order without regard to case; ERROR_NO_MORE_ITEMS
// past the last. cchName is the buffer size in characters including the terminating zero.
LONG RegEnumKeyA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName);
// As RegEnumKeyA; *lpcchName is the buffer size on entry and the name's length (without the
// zero) on success. Keys have no class: a class buffer receives the empty text.
LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
    LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);

// The value at an index, in the order the values were first written.
LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
    LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);

// Counts and longest lengths of a key's subkeys and values; every out parameter is optional.
LONG RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
    LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
    LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
    PFILETIME lpftLastWriteTime);

// Releases a key handle; closing a root handle does nothing.
LONG RegCloseKey(HKEY hKey);

// Deletes a key below hKey with all its subkeys and values. An empty subkey deletes hKey
// itself, which a root cannot be (ERROR_ACCESS_DENIED).
LONG SHDeleteKeyA(HKEY hKey, LPCSTR pszSubKey);

// The file that holds a root's keys in the current store folder (whether or not it exists
// yet), or the empty text for a handle that is not a root.
std::string zorRegistryFile(HKEY hRoot);
// The current store folder: the user's, where every write goes.
std::string zorRegistryFolder();
// The machine-wide layer's folder read beneath the user's store, or the empty text when there
// is no such layer (also when it is the user's store folder itself).
std::string zorMachineRegistryFolder();
// The machine-wide store folder as configured (ZORVEX_MACHINE_REGISTRY, else the compiled-in
// folder), whatever ZORVEX_REGISTRY says: the folder the tools' --machine option writes.
std::string zorMachineRegistryStore();
// Closes the store files this process has open, so that everything it wrote is in the root
// files themselves (each file's write-ahead log folded in and removed), as readers who may only
// open them read-only need. Handles stay valid; the next call opens the files again.
void zorRegistryCloseFiles();

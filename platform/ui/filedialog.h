#pragma once

// CFileDialog: the platform's open-file (and save-file) dialog.
//
// The dialog is set up through m_ofn as the platform's structure names its fields: the title,
// the initial folder, the text of the file-name box with the box's limit in characters, the
// flags and a default extension; the filter comes to the constructor as the platform's text
// "description|patterns|description|patterns||" (patterns separated by ';'). DoModal shows it
// modally and answers IDOK with GetPathName the full path chosen, or IDCANCEL when the user
// cancelled or the dialog failed.
//
// On this platform:
// - The dialog is Qt's own file dialog (never the desktop's native one, so that it also runs
//   with the offscreen platform). It has no "open as read-only" box, so OFN_HIDEREADONLY only
//   says what it always does.
// - Folders are written the Windows way by the suite's code: "\" and "/" both separate, a
//   leading drive ("C:") is dropped as this platform has no drives (the folder is taken from
//   the root), and a relative folder such as ".\" is relative to the current directory.
// - A pattern "*.*" means every file, as on the platform the suite comes from, so it matches
//   names without an extension too. The filter entry shows its description followed by its
//   patterns as the dialog uses them: "All Files (*.*) (*)".
// - Titles and filters are single-byte texts (Windows-1252); paths are the file system's own
//   bytes, so that a path the dialog gives back opens as it is.
// - A chosen path longer than nMaxFile characters does not fit the caller's limit: the dialog
//   fails (IDCANCEL) rather than hand back a cut path, which would name another file.
// - Tests answer the dialog through a chooser (setChooser), which receives the dialog as it
//   was set up and gives the path chosen, or nothing for Cancel; the existence checks and the
//   limit apply to its answer as they do to the user's.

#include "platform/types/wintypes.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CWnd;

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

// One entry of a dialog's filter: its description and its patterns, as the filter text gives
// them (blanks kept).
struct ZorFileFilter
{
    std::string description;
    std::string patterns;
    bool operator==(const ZorFileFilter&) const = default;
};

// The set-up of a file dialog, with the platform's field names; texts are held by value.
struct OPENFILENAME
{
    DWORD Flags {0};
    std::string lpstrTitle;
    std::string lpstrInitialDir;
    // The initial text of the file-name box; the box takes at most nMaxFile characters.
    std::string lpstrFile;
    DWORD nMaxFile {259};
    std::string lpstrDefExt;
};

class CFileDialog
{
public:
    // The answer of a chooser: the path chosen, or nothing for Cancel.
    using Chooser = std::function<std::optional<std::string>(const CFileDialog& dialog)>;

    explicit CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
        const char* lpszFileName = nullptr, DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
        const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    OPENFILENAME m_ofn;

    INT_PTR DoModal();
    // The full path chosen; empty before a confirmed DoModal.
    std::string GetPathName() const { return m_pathName; }

    bool isOpenDialog() const { return m_bOpen; }
    const std::vector<ZorFileFilter>& filters() const { return m_filters; }
    // The initial folder as a folder of this platform (absolute; empty when none is set).
    std::string initialFolder() const;
    // The initial text of the file-name box, within the box's limit.
    std::string fileNameText() const;

    // Replaces the dialog by a chooser for every dialog shown from now on (an empty one shows
    // the dialog again); gives the previous chooser.
    static Chooser setChooser(Chooser chooser);

private:
    std::optional<std::string> runDialog() const;
    bool acceptable(const std::string& path) const;

    bool m_bOpen {true};
    CWnd* m_pParentWnd {nullptr};
    std::vector<ZorFileFilter> m_filters;
    std::string m_pathName;
};

// The entries of a filter text "description|patterns|...||": pairs of fields up to the first
// empty description (or the end); a description without its patterns is left out.
std::vector<ZorFileFilter> zorParseFileFilter(const char* filter);
// A folder written the platform's way (see above) as a folder of this platform, absolute and
// cleaned; empty for an empty text.
std::string zorLocalFolder(const std::string& folder);
// A filter entry as Qt's dialog takes it: the description, then the patterns in parentheses,
// "*.*" read as "*".
std::string zorQtNameFilter(const ZorFileFilter& filter);

#include "platform/ui/filedialog.h"

#include "platform/gdi/fonts.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/window.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLineEdit>

#include <utility>

namespace {

// The chooser that answers every dialog in place of the user; empty: the dialog is shown. One
// for the process, as the platform's dialog is one service.
CFileDialog::Chooser& chooser()
{
    static CFileDialog::Chooser s_chooser;
    return s_chooser;
}

QString pathText(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string pathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::vector<ZorFileFilter> zorParseFileFilter(const char* filter)
{
    std::vector<ZorFileFilter> entries;
    if (!filter)
        return entries;
    std::vector<std::string> fields;
    std::string field;
    for (const char* p = filter; *p; ++p) {
        if (*p == '|') {
            fields.push_back(field);
            field.clear();
        } else {
            field += *p;
        }
    }
    fields.push_back(field);
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (fields[i].empty())
            break;
        entries.push_back({fields[i], fields[i + 1]});
    }
    return entries;
}

std::string zorLocalFolder(const std::string& folder)
{
    if (folder.empty())
        return {};
    std::string local = folder;
    for (char& c : local) {
        if (c == '\\')
            c = '/';
    }
    const bool drive = local.size() >= 2 && local[1] == ':'
        && ((local[0] >= 'A' && local[0] <= 'Z') || (local[0] >= 'a' && local[0] <= 'z'));
    if (drive) {
        local.erase(0, 2);
        // "C:" alone or "C:dir" is the root of the drive, or a folder below it.
        if (local.empty() || local[0] != '/')
            local.insert(0, "/");
    }
    return pathBytes(QDir::cleanPath(QDir::current().absoluteFilePath(pathText(local))));
}

std::string zorQtNameFilter(const ZorFileFilter& filter)
{
    std::string patterns;
    std::size_t start = 0;
    while (start <= filter.patterns.size()) {
        std::size_t end = filter.patterns.find(';', start);
        if (end == std::string::npos)
            end = filter.patterns.size();
        std::string pattern = trimmed(filter.patterns.substr(start, end - start));
        if (pattern == "*.*")
            pattern = "*";
        if (!pattern.empty())
            patterns += (patterns.empty() ? "" : " ") + pattern;
        start = end + 1;
    }
    return filter.description + "(" + patterns + ")";
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
    DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd)
    : m_bOpen(bOpenFileDialog != FALSE)
    , m_pParentWnd(pParentWnd)
    , m_filters(zorParseFileFilter(lpszFilter))
{
    m_ofn.Flags = dwFlags;
    m_ofn.lpstrDefExt = lpszDefExt ? lpszDefExt : "";
    m_ofn.lpstrFile = lpszFileName ? lpszFileName : "";
}

std::string CFileDialog::initialFolder() const
{
    return zorLocalFolder(m_ofn.lpstrInitialDir);
}

std::string CFileDialog::fileNameText() const
{
    return m_ofn.lpstrFile.substr(0, m_ofn.nMaxFile);
}

CFileDialog::Chooser CFileDialog::setChooser(Chooser next)
{
    return std::exchange(chooser(), std::move(next));
}

INT_PTR CFileDialog::DoModal()
{
    m_pathName.clear();
    const std::optional<std::string> chosen = chooser() ? chooser()(*this) : runDialog();
    if (!chosen || chosen->empty())
        return IDCANCEL;
    const std::string path = pathBytes(QFileInfo(pathText(*chosen)).absoluteFilePath());
    if (!acceptable(path))
        return IDCANCEL;
    m_pathName = path;
    return IDOK;
}

bool CFileDialog::acceptable(const std::string& path) const
{
    if (path.size() > m_ofn.nMaxFile)
        return false;
    const QFileInfo info(pathText(path));
    if ((m_ofn.Flags & OFN_FILEMUSTEXIST) && !info.isFile())
        return false;
    if ((m_ofn.Flags & OFN_PATHMUSTEXIST) && !info.dir().exists())
        return false;
    return true;
}

std::optional<std::string> CFileDialog::runDialog() const
{
    QWidget* parent = m_pParentWnd ? m_pParentWnd->widget() : nullptr;
    QFileDialog dialog(parent, zorFromCodePage(m_ofn.lpstrTitle));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(m_bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(
        m_ofn.Flags & OFN_FILEMUSTEXIST ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!m_bOpen && !(m_ofn.Flags & OFN_OVERWRITEPROMPT))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList nameFilters;
    for (const ZorFileFilter& filter : m_filters)
        nameFilters << zorFromCodePage(zorQtNameFilter(filter));
    if (!nameFilters.isEmpty())
        dialog.setNameFilters(nameFilters);
    const std::string folder = initialFolder();
    if (!folder.empty())
        dialog.setDirectory(pathText(folder));
    if (!m_ofn.lpstrDefExt.empty())
        dialog.setDefaultSuffix(zorFromCodePage(m_ofn.lpstrDefExt));
    // The file-name box holds the initial text and takes no more than the limit.
    if (auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        box->setMaxLength(static_cast<int>(m_ofn.nMaxFile));
    dialog.selectFile(pathText(fileNameText()));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return pathBytes(files.first());
}

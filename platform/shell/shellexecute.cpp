#include "platform/shell/shellexecute.h"

#include "platform/shell/shelllauncher.h"

#include <cctype>
#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// True when text starts with an address scheme: a letter, then letters, digits, '+', '-' or
// '.', then ':' (RFC 3986). Local paths on this system never have that form unless the
// first path component holds a ':', which a relative name "a:b" does; such names are rare
// and are then taken for addresses, as the desktop's handler would take them too.
bool hasScheme(const std::string& text)
{
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ':')
            return true;
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return false;
}

bool isOpenVerb(const char* verb)
{
    if (verb == nullptr || *verb == '\0')
        return true;
    const std::string open = "open";
    std::string text(verb);
    if (text.size() != open.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != open[i])
            return false;
    }
    return true;
}

std::string currentFolder()
{
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

// The absolute path of a local file name: relative names are taken from directory, or from
// the current folder when directory is empty (or itself relative, then under the current one).
std::string absolutePath(const std::string& name, const char* directory)
{
    if (!name.empty() && name[0] == '/')
        return name;
    std::string base = directory != nullptr ? std::string(directory) : std::string();
    if (base.empty() || base[0] != '/') {
        const std::string cwd = currentFolder();
        base = base.empty() ? cwd : cwd + "/" + base;
    }
    if (base.empty() || base.back() != '/')
        base += '/';
    return base + name;
}

} // namespace

std::intptr_t ShellExecuteA(HWND /*hwnd*/, const char* verb, const char* file,
    const char* /*parameters*/, const char* directory, int /*showCommand*/)
{
    // Parameters belong to programs; a document or an address is opened on its own, as the
    // handler takes exactly one argument.
    if (!isOpenVerb(verb))
        return SE_ERR_NOASSOC;
    if (file == nullptr || *file == '\0')
        return SE_ERR_FNF;

    std::string target(file);
    if (!hasScheme(target)) {
        target = absolutePath(target, directory);
        struct stat info
        {
        };
        if (stat(target.c_str(), &info) != 0) {
            if (errno == EACCES)
                return SE_ERR_ACCESSDENIED;
            if (errno == ENAMETOOLONG || errno == ELOOP)
                return SE_ERR_PNF;
            return SE_ERR_FNF;
        }
    }

    if (!zorShellLauncher().start(ZOR_DESKTOP_HANDLER, {target}))
        return SE_ERR_NOASSOC;
    return ZOR_SHELL_STARTED;
}

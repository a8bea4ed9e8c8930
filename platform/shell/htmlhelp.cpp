#include "platform/shell/htmlhelp.h"

#include "platform/shell/shellexecute.h"

#include <string>
#include <sys/stat.h>

HWND HtmlHelpA(HWND caller, const char* file, UINT command, DWORD_PTR /*data*/)
{
    if (command > HH_DISPLAY_SEARCH || file == nullptr)
        return nullptr;
    std::string path(file);
    // Drop a topic ("::/page.htm") or a window name (">name") after the file name.
    const std::size_t topic = path.find("::");
    if (topic != std::string::npos)
        path.erase(topic);
    const std::size_t window = path.find('>');
    if (window != std::string::npos)
        path.erase(window);
    if (path.empty())
        return nullptr;
    // Only a regular file is a help file; ShellExecuteA would also open a folder.
    struct stat info
    {
    };
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    // A path with a scheme-like start ("a:b.chm") must not be taken for an address.
    if (path[0] != '/')
        path = "./" + path;
    if (ShellExecuteA(caller, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL) <= 32)
        return nullptr;
    return zorHelpViewerToken();
}

#include "platform/registry/machineregistryscope.h"

#include "platform/registry/registry.h"
#include "platform/registry/registryroot.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr mode_t c_folderMode = 0755;
constexpr mode_t c_fileMode = 0644;

// Remembers a variable's value and sets it.
void replaceVariable(const char* name, const std::string& value, std::string& old, bool& wasSet)
{
    const char* current = std::getenv(name);
    wasSet = current != nullptr;
    old = current ? current : "";
    setenv(name, value.c_str(), 1);
}

// The folder and every missing folder above it, readable by all: 0 or the errno of the failure.
int makeSharedFolders(const std::string& folder)
{
    struct stat st
    {
    };
    if (stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const auto slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        if (const int error = makeSharedFolders(folder.substr(0, slash)); error != 0)
            return error;
    }
    if (mkdir(folder.c_str(), c_folderMode) != 0 && errno != EEXIST)
        return errno;
    // The umask may have taken bits away.
    return chmod(folder.c_str(), c_folderMode) == 0 ? 0 : errno;
}

} // namespace

CMachineRegistryScope::CMachineRegistryScope() : m_folder(zorMachineRegistryStore())
{
    m_store.name = "ZORVEX_REGISTRY";
    m_machine.name = "ZORVEX_MACHINE_REGISTRY";
    replaceVariable(m_store.name, m_folder, m_store.value, m_store.set);
    replaceVariable(m_machine.name, m_folder, m_machine.value, m_machine.set);
}

CMachineRegistryScope::~CMachineRegistryScope()
{
    zorRegistryCloseFiles();
    if (m_writing) {
        for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            const std::string file = zorRegistryFile(root);
            struct stat st
            {
            };
            if (stat(file.c_str(), &st) == 0 && (st.st_mode & 07777) != c_fileMode)
                chmod(file.c_str(), c_fileMode);
        }
    }
    for (const CSavedVariable* saved : {&m_store, &m_machine}) {
        if (saved->set)
            setenv(saved->name, saved->value.c_str(), 1);
        else
            unsetenv(saved->name);
    }
}

bool CMachineRegistryScope::prepareForWrites(std::string& reason)
{
    if (const int error = makeSharedFolders(m_folder); error != 0) {
        reason = std::strerror(error);
        return false;
    }
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (!CRegistryRoot(m_folder, zorRegistryFile(root)).writable()) {
            reason = std::strerror(EACCES);
            return false;
        }
    }
    m_writing = true;
    return true;
}

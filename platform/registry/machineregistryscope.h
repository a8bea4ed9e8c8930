#pragma once

// The machine-wide settings store made the whole store of this process for a while, as the
// administration tools' --machine option needs: ZORVEX_REGISTRY and ZORVEX_MACHINE_REGISTRY
// both name it (zorMachineRegistryStore()), so every registry call reads and writes it alone,
// code of loaded modules included. When the scope ends the store's files are closed, so that
// everything written is in the root files themselves; after prepareForWrites() the root files
// are made readable by every user (mode 0644, whatever the umask); and both variables get back
// what they had.

#include <string>

class CMachineRegistryScope
{
public:
    CMachineRegistryScope();
    ~CMachineRegistryScope();
    CMachineRegistryScope(const CMachineRegistryScope&) = delete;
    CMachineRegistryScope& operator=(const CMachineRegistryScope&) = delete;

    const std::string& folder() const { return m_folder; }

    // Makes the folder and every missing folder above it with mode 0755 (whatever the umask)
    // and checks that this process may write the store there, by the mode bits as the registry
    // itself decides. False, with the reason, when it cannot.
    bool prepareForWrites(std::string& reason);

private:
    struct CSavedVariable
    {
        const char* name {nullptr};
        std::string value;
        bool set {false};
    };

    std::string m_folder;
    CSavedVariable m_store;
    CSavedVariable m_machine;
    bool m_writing {false};
};

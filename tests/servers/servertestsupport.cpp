#include "tests/servers/servertestsupport.h"

#include "platform/registry/registry.h"

#include <QtCore/QProcess>
#include <QtCore/QProcessEnvironment>
#include <QtCore/QStringList>

#include <sys/stat.h>

namespace servertest {

ToolResult runTool(const std::string& program, const std::vector<std::string>& args,
    const std::vector<std::pair<std::string, std::string>>& env)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env)
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    process.setProcessEnvironment(environment);
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    process.start(QString::fromStdString(program), arguments);
    ToolResult result;
    if (!process.waitForStarted(10000))
        return result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

bool registerModule(const std::string& modulePath, bool unregister)
{
    std::vector<std::string> args;
    if (unregister)
        args.push_back("/u");
    args.push_back("/s");
    args.push_back(modulePath);
    return runTool(ZOR_TEST_REGSVR, args).exitCode == 0;
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += part;
    return text;
}

bool fileExists(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0;
}

std::string classesRootText(const std::string& subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    char buffer[4096] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    std::string text;
    if (RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size)
        == ERROR_SUCCESS)
        text.assign(buffer, strnlen(buffer, size));
    RegCloseKey(key);
    return text;
}

} // namespace servertest

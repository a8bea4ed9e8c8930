#include "platform/shell/processshelllauncher.h"

#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>
#include <QtCore/QString>
#include <QtCore/QStringList>

bool CProcessShellLauncher::start(const std::string& program, const std::vector<std::string>& args)
{
    if (program.empty())
        return false;
    // Resolve the program first, so a missing handler is told apart from one that is there;
    // findExecutable reads PATH now and accepts only files that may be executed.
    const QString resolved = QStandardPaths::findExecutable(QString::fromLocal8Bit(program));
    if (resolved.isEmpty())
        return false;
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromLocal8Bit(arg);
    return QProcess::startDetached(resolved, arguments);
}

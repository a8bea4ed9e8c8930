#include "tests/support/tempfolder.h"

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>

#include <cstdlib>
#include <gtest/gtest.h>

TempFolder::TempFolder()
{
    QTemporaryDir dir(QDir::tempPath() + "/zorvex-test-XXXXXX");
    dir.setAutoRemove(false);
    EXPECT_TRUE(dir.isValid()) << "cannot create a temporary folder";
    m_path = dir.path().toStdString();
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        QDir(QString::fromStdString(m_path)).removeRecursively();
}

std::string TempFolder::file(const std::string& name) const
{
    return m_path + "/" + name;
}

ScopedRegistry::ScopedRegistry()
{
    if (const char* old = std::getenv("ZORVEX_REGISTRY")) {
        m_previous = old;
        m_hadPrevious = true;
    }
    setenv("ZORVEX_REGISTRY", m_folder.path().c_str(), 1);
}

ScopedRegistry::~ScopedRegistry()
{
    if (m_hadPrevious)
        setenv("ZORVEX_REGISTRY", m_previous.c_str(), 1);
    else
        unsetenv("ZORVEX_REGISTRY");
}

// The one QApplication of a widget test program, made before the first test and destroyed
// before the program's static objects go. Test programs list this file among their sources.

#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ApplicationEnvironment : public testing::Environment
{
public:
    void SetUp() override { m_app = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc {1};
    char m_name[16] = "zorvex_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

testing::Environment* const s_application
    = testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

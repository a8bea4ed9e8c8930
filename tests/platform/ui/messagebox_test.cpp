#include "platform/ui/messagebox.h"

#include <QtCore/QThread>
#include <QtCore/QTimer>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>

namespace {

// A widget application on the platform the test runs with ("offscreen").
std::unique_ptr<QApplication> makeApplication()
{
    static int argc = 1;
    static char name[] = "platform_ui_tests";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

// Waits on the GUI thread for the next visible message box, notes what it shows, then presses
// one of its buttons (or closes it, as the window's close button does, for NoButton).
class BoxAnswerer
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton press) : m_press(press)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(10);
    }

    bool seen {false};
    bool onGuiThread {false};
    QString title;
    QString text;
    QMessageBox::Icon icon {QMessageBox::NoIcon};
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton {QMessageBox::NoButton};

private:
    void poll()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            m_timer.stop();
            seen = true;
            onGuiThread = QThread::currentThread() == box->thread();
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            if (box->defaultButton())
                defaultButton = box->standardButton(box->defaultButton());
            if (QAbstractButton* button = box->button(m_press))
                button->click();
            else
                box->close();
            return;
        }
    }

    QMessageBox::StandardButton m_press;
    QTimer m_timer;
};

} // namespace

TEST(RecordingPresenter, RecordsEachBoxAndAnswersInQueueOrderThenTheDefault)
{
    CRecordingPresenter presenter;
    presenter.answers = {IDNO};
    EXPECT_EQ(MessageBoxA(nullptr, "First?", "Corvane", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Retry?", nullptr, MB_RETRYCANCEL | MB_DEFBUTTON2), IDCANCEL);
    ASSERT_EQ(presenter.boxes.size(), 2u);
    EXPECT_EQ(presenter.boxes[0].text, "First?");
    EXPECT_EQ(presenter.boxes[0].caption, "Corvane");
    EXPECT_EQ(presenter.boxes[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(presenter.boxes[1].caption, "Error") << "a box without a caption";
}

TEST(RecordingPresenter, PutsThePreviousPresenterBack)
{
    CRecordingPresenter outer;
    {
        CRecordingPresenter inner;
        MessageBoxA(nullptr, "to the inner one", "c", MB_OK);
        EXPECT_EQ(inner.boxes.size(), 1u);
    }
    MessageBoxA(nullptr, "to the outer one", "c", MB_OK);
    ASSERT_EQ(outer.boxes.size(), 1u);
    EXPECT_EQ(outer.boxes[0].text, "to the outer one");
}

struct DefaultCase
{
    const char* name;
    UINT type;
    int answer;
};

class DefaultButton : public testing::TestWithParam<DefaultCase>
{
};

TEST_P(DefaultButton, FollowsTheButtonSetAndTheDefaultFlag)
{
    EXPECT_EQ(zorDefaultButton(GetParam().type), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Table, DefaultButton,
    testing::Values(DefaultCase {"OkWithIcon", MB_OK | MB_ICONSTOP, IDOK},
        DefaultCase {"OkCancelSecond", MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        DefaultCase {"AbortRetryIgnoreThird", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        DefaultCase {"YesNoCancelSecond", MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
        DefaultCase {"QuestionYesNoSecond", 292, IDNO},
        DefaultCase {"YesNoThirdFallsBackToFirst", MB_YESNO | MB_DEFBUTTON3, IDYES},
        DefaultCase {"RetryCancelFirst", MB_RETRYCANCEL, IDRETRY},
        DefaultCase {"UnknownSetIsOk", 0x0E, IDOK}),
    [](const testing::TestParamInfo<DefaultCase>& info) { return std::string(info.param.name); });

TEST(BuiltinPresenter, WithoutApplicationWritesToStandardErrorAndAnswersDefault)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    testing::internal::CaptureStderr();
    const int answer
        = MessageBoxA(nullptr, "Host unavailable", "Corvane", MB_OKCANCEL | MB_DEFBUTTON2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Corvane: Host unavailable\n");
    EXPECT_EQ(answer, IDCANCEL);
}

TEST(BuiltinPresenter, OffscreenApplicationDoesNotBlock)
{
    const auto app = makeApplication();
    ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
    testing::internal::CaptureStderr();
    const int answer
        = MessageBoxA(nullptr, "Save changes?", "Corvane", MB_YESNOCANCEL | MB_DEFBUTTON2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Corvane: Save changes?\n");
    EXPECT_EQ(answer, IDNO);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a box was opened";
}

TEST(QtMessagePresenter, ShowsButtonsIconAndDefaultOfTheType)
{
    const auto app = makeApplication();
    BoxAnswerer answerer(QMessageBox::Yes);
    const int answer = CQtMessagePresenter().present(nullptr, "Delete the host?", "Corvane", 292);
    ASSERT_TRUE(answerer.seen);
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(answerer.title, "Corvane");
    EXPECT_EQ(answerer.text, "Delete the host?");
    EXPECT_EQ(answerer.icon, QMessageBox::Question);
    EXPECT_EQ(answerer.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(answerer.defaultButton, QMessageBox::No);
}

struct QtBoxCase
{
    const char* name;
    UINT type;
    QMessageBox::StandardButton press; // NoButton: the box is closed
    int answer;
    QMessageBox::Icon icon;
};

class QtMessageBoxAnswers : public testing::TestWithParam<QtBoxCase>
{
};

TEST_P(QtMessageBoxAnswers, ReturnsTheIdOfTheButtonPressed)
{
    const QtBoxCase& c = GetParam();
    const auto app = makeApplication();
    BoxAnswerer answerer(c.press);
    EXPECT_EQ(CQtMessagePresenter().present(nullptr, "text", "caption", c.type), c.answer);
    EXPECT_TRUE(answerer.seen);
    EXPECT_EQ(answerer.icon, c.icon);
}

INSTANTIATE_TEST_SUITE_P(Table, QtMessageBoxAnswers,
    testing::Values(
        QtBoxCase {"StopOk", MB_OK | MB_ICONSTOP, QMessageBox::Ok, IDOK, QMessageBox::Critical},
        QtBoxCase {"ClosedOkCancelIsCancel", MB_OKCANCEL | MB_ICONEXCLAMATION,
            QMessageBox::NoButton, IDCANCEL, QMessageBox::Warning},
        QtBoxCase {"Ignore", MB_ABORTRETRYIGNORE | MB_ICONINFORMATION, QMessageBox::Ignore,
            IDIGNORE, QMessageBox::Information},
        QtBoxCase {"Retry", MB_RETRYCANCEL, QMessageBox::Retry, IDRETRY, QMessageBox::NoIcon}),
    [](const testing::TestParamInfo<QtBoxCase>& info) { return std::string(info.param.name); });

TEST(QtMessagePresenter, BoxAskedForOnAnotherThreadIsShownOnTheGuiThread)
{
    const auto app = makeApplication();
    BoxAnswerer answerer(QMessageBox::Cancel);
    std::atomic<int> answer {0};
    std::thread worker([&] {
        answer = CQtMessagePresenter().present(nullptr, "From a worker", "Corvane", MB_OKCANCEL);
        QMetaObject::invokeMethod(app.get(), [] { QCoreApplication::quit(); });
    });
    QTimer::singleShot(15000, app.get(), [] { QCoreApplication::quit(); });
    app->exec();
    worker.join();
    EXPECT_TRUE(answerer.seen);
    EXPECT_TRUE(answerer.onGuiThread);
    EXPECT_EQ(answerer.text, "From a worker");
    EXPECT_EQ(answer.load(), IDCANCEL);
}

TEST(QtMessagePresenter, WithoutWidgetApplicationAnswersTheDefault)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(CQtMessagePresenter().present(nullptr, "t", "c", MB_YESNO | MB_DEFBUTTON2), IDNO);
}

TEST(DebugOutput, GoesToStandardErrorAndTheCurrentSink)
{
    CRecordingDebugSink outer;
    {
        CRecordingDebugSink inner;
        testing::internal::CaptureStderr();
        OutputDebugStringA("CLOCK l Button Down");
        OutputDebugStringA("\r\n");
        OutputDebugStringA(nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "CLOCK l Button Down\r\n");
        EXPECT_EQ(inner.output, "CLOCK l Button Down\r\n");
    }
    EXPECT_EQ(outer.output, "");
    OutputDebugStringA("remove");
    EXPECT_EQ(outer.output, "remove");
}

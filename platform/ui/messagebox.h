#pragma once

// Message boxes and the debugger output.
//
// MessageBoxA shows a modal box through the current presenter: a Qt message box when a
// display exists (a QApplication is running on a real platform), otherwise the text goes to
// standard error and the box's default button is the answer, so nothing ever blocks without
// a person to answer. Tests install a CRecordingPresenter, which records every box and answers
// as the test asks.
//
// OutputDebugStringA is the debugger output: standard error, where a developer running the
// program from a terminal or a debugger sees it, and the current debug sink for tests.

#include "platform/types/wintypes.h"

#include <deque>
#include <string>
#include <vector>

// Box types: the button and icon flags of the platform's message box.
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_ABORTRETRYIGNORE = 0x02;
constexpr UINT MB_YESNOCANCEL = 0x03;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_RETRYCANCEL = 0x05;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_TYPEMASK = 0x0F;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFMASK = 0xF00;

// Button identifiers a message box returns.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The button a box of this type answers with when nobody presses one (its default button).
int zorDefaultButton(UINT type);

int MessageBoxA(HWND hWnd, const char* lpText, const char* lpCaption, UINT uType);

class IMessagePresenter
{
public:
    virtual ~IMessagePresenter() = default;
    virtual int present(HWND owner, const std::string& text, const std::string& caption, UINT type)
        = 0;
};

// Installs a presenter for all later boxes and returns the previous one; null restores the
// built-in one. The caller keeps ownership.
IMessagePresenter* zorSetMessagePresenter(IMessagePresenter* presenter);

// The Qt message box: buttons and icon from the box type, the default button focused, modal
// for the whole application. Shown on the GUI thread (a call from another thread waits for
// it there). Needs a QApplication; without one it answers the default button. The built-in
// presenter uses it when a display exists.
class CQtMessagePresenter : public IMessagePresenter
{
public:
    int present(
        HWND owner, const std::string& text, const std::string& caption, UINT type) override;
};

// A presenter for tests: records each box and answers with the next queued answer, or with the
// box's default button when none is queued.
class CRecordingPresenter : public IMessagePresenter
{
public:
    struct Box
    {
        std::string text;
        std::string caption;
        UINT type {0};
    };

    CRecordingPresenter(); // installs itself
    ~CRecordingPresenter() override; // puts the previous presenter back

    int present(
        HWND owner, const std::string& text, const std::string& caption, UINT type) override;

    std::vector<Box> boxes;
    std::deque<int> answers;

private:
    IMessagePresenter* m_previous {nullptr};
};

void OutputDebugStringA(const char* lpOutputString);

// Receives everything OutputDebugStringA sends, as well as standard error. Tests install a
// CRecordingDebugSink.
class IDebugSink
{
public:
    virtual ~IDebugSink() = default;
    virtual void write(const std::string& text) = 0;
};
IDebugSink* zorSetDebugSink(IDebugSink* sink);

class CRecordingDebugSink : public IDebugSink
{
public:
    CRecordingDebugSink();
    ~CRecordingDebugSink() override;
    void write(const std::string& text) override { output += text; }

    std::string output;

private:
    IDebugSink* m_previous {nullptr};
};

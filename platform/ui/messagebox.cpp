#include "platform/ui/messagebox.h"

#include "platform/gdi/fonts.h"
#include "platform/ui/window.h"

#include <QtCore/QMetaObject>
#include <QtCore/QThread>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <atomic>
#include <cstdio>

namespace {

// The presenter and the debug sink are process-wide: a box or a trace may come from any
// module and any thread, and a test replaces them for everything it calls.
std::atomic<IMessagePresenter*> s_presenter {nullptr};
std::atomic<IDebugSink*> s_debugSink {nullptr};

struct ButtonSet
{
    int count {1};
    int ids[3] {IDOK, 0, 0};
};

// The buttons of a box type, left to right. A type without a known button set shows OK alone.
ButtonSet buttonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {2, {IDOK, IDCANCEL, 0}};
    case MB_ABORTRETRYIGNORE:
        return {3, {IDABORT, IDRETRY, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {3, {IDYES, IDNO, IDCANCEL}};
    case MB_YESNO:
        return {2, {IDYES, IDNO, 0}};
    case MB_RETRYCANCEL:
        return {2, {IDRETRY, IDCANCEL, 0}};
    default:
        return {};
    }
}

QMessageBox::StandardButton standardButtonOf(int id)
{
    switch (id) {
    case IDCANCEL:
        return QMessageBox::Cancel;
    case IDABORT:
        return QMessageBox::Abort;
    case IDRETRY:
        return QMessageBox::Retry;
    case IDIGNORE:
        return QMessageBox::Ignore;
    case IDYES:
        return QMessageBox::Yes;
    case IDNO:
        return QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Runs the box; must be called on the GUI thread.
int execQtBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    const ButtonSet buttons = buttonsOf(type);
    const int defaultId = zorDefaultButton(type);

    // The box belongs to its owner's window (centred on it, above it); a dead or missing owner
    // leaves it on its own.
    CWnd* ownerWnd = CWnd::FromHandle(owner);
    QWidget* parent = ownerWnd && ownerWnd->widget() ? ownerWnd->widget()->window() : nullptr;
    QMessageBox box(parent);
    box.setWindowTitle(zorFromCodePage(caption));
    box.setText(zorFromCodePage(text));
    box.setIcon(iconOf(type));
    box.setWindowModality(Qt::ApplicationModal);
    QAbstractButton* cancel = nullptr;
    for (int i = 0; i < buttons.count; ++i) {
        QAbstractButton* button = box.addButton(standardButtonOf(buttons.ids[i]));
        if (buttons.ids[i] == defaultId)
            box.setDefaultButton(qobject_cast<QPushButton*>(button));
        if (buttons.ids[i] == IDCANCEL)
            cancel = button;
    }
    // Escape and the window's close button answer Cancel where the box has one, and OK on a
    // box with OK alone, as the platform's box does.
    if (cancel)
        box.setEscapeButton(cancel);
    else if (buttons.count == 1)
        box.setEscapeButton(box.buttons().constFirst());
    box.exec();

    QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        return defaultId;
    const QMessageBox::StandardButton pressed = box.standardButton(clicked);
    for (int i = 0; i < buttons.count; ++i) {
        if (standardButtonOf(buttons.ids[i]) == pressed)
            return buttons.ids[i];
    }
    return defaultId;
}

// A display is there when a widget application runs on a platform that shows windows to a
// person; "offscreen" and "minimal" show nothing, so a box there would wait for ever.
bool displayAvailable()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

class CBuiltinPresenter : public IMessagePresenter
{
public:
    int present(HWND owner, const std::string& text, const std::string& caption, UINT type) override
    {
        if (displayAvailable())
            return m_qtBox.present(owner, text, caption, type);
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stderr);
        return zorDefaultButton(type);
    }

private:
    CQtMessagePresenter m_qtBox;
};

IMessagePresenter& builtinPresenter()
{
    static CBuiltinPresenter presenter;
    return presenter;
}

} // namespace

int zorDefaultButton(UINT type)
{
    const ButtonSet buttons = buttonsOf(type);
    const int index = static_cast<int>((type & MB_DEFMASK) >> 8);
    // A default beyond the last button falls back to the first, as the platform's box does.
    return index < buttons.count ? buttons.ids[index] : buttons.ids[0];
}

int CQtMessagePresenter::present(
    HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!qobject_cast<QApplication*>(app))
        return zorDefaultButton(type);
    if (QThread::currentThread() == app->thread())
        return execQtBox(owner, text, caption, type);
    int answer = zorDefaultButton(type);
    QMetaObject::invokeMethod(
        app, [&] { return execQtBox(owner, text, caption, type); }, Qt::BlockingQueuedConnection,
        &answer);
    return answer;
}

int MessageBoxA(HWND hWnd, const char* lpText, const char* lpCaption, UINT uType)
{
    IMessagePresenter* presenter = s_presenter.load();
    if (!presenter)
        presenter = &builtinPresenter();
    // A box without a caption is titled "Error", as on the platform.
    return presenter->present(hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "Error", uType);
}

IMessagePresenter* zorSetMessagePresenter(IMessagePresenter* presenter)
{
    return s_presenter.exchange(presenter);
}

CRecordingPresenter::CRecordingPresenter() : m_previous(zorSetMessagePresenter(this)) { }

CRecordingPresenter::~CRecordingPresenter()
{
    zorSetMessagePresenter(m_previous);
}

int CRecordingPresenter::present(
    HWND, const std::string& text, const std::string& caption, UINT type)
{
    boxes.push_back({text, caption, type});
    if (answers.empty())
        return zorDefaultButton(type);
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void OutputDebugStringA(const char* lpOutputString)
{
    if (!lpOutputString)
        return;
    std::fputs(lpOutputString, stderr);
    if (IDebugSink* sink = s_debugSink.load())
        sink->write(lpOutputString);
}

IDebugSink* zorSetDebugSink(IDebugSink* sink)
{
    return s_debugSink.exchange(sink);
}

CRecordingDebugSink::CRecordingDebugSink() : m_previous(zorSetDebugSink(this)) { }

CRecordingDebugSink::~CRecordingDebugSink()
{
    zorSetDebugSink(m_previous);
}

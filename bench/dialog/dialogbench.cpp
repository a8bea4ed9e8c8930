// dialogbench: how long opening a dialog takes. A template of 60 controls, five rows of the
// twelve kinds a template can hold (static text, edit, push button, check box, radio button,
// group box, list box, drop-down list, up-down with its buddy, date-time picker, etched frame,
// hosted control), is opened as a user sees it: the dialog and its controls are created,
// WM_INITDIALOG runs, and the dialog is shown and painted once (offscreen). Destroying it is
// not counted. The target is under 50 ms per opening.
//
// Two dialogs: the platform's CDialog, and the framework's CResizableDialog, which adds the
// tooltips of every control and an anchor for each.
//
// Run by hand: build/bench/zorbench_dialog [Google Benchmark options].

#include "framework/dialogs/resizabledialog.h"

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/strings.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QImage>
#include <QtWidgets/QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr UINT c_templateId = 200;
constexpr int c_rows = 5;
constexpr int c_kinds = 12;
constexpr int c_firstId = 1000;

// The kinds of a row, in template order: the up-down follows the edit it is the buddy of.
constexpr eDLGITEM c_rowKinds[c_kinds]
    = {eDLG_STATIC, eDLG_EDIT, eDLG_UPDOWN, eDLG_BUTTON, eDLG_CHECKBOX, eDLG_RADIO, eDLG_GROUPBOX,
        eDLG_LISTBOX, eDLG_COMBOBOX, eDLG_DATETIME, eDLG_FRAME, eDLG_HOSTED};

int controlId(int row, int column)
{
    return c_firstId + row * c_kinds + column;
}

// One row's cell of a kind, 44 dialog units wide.
DialogItem cell(int row, int column)
{
    DialogItem item;
    item.kind = c_rowKinds[column];
    item.id = controlId(row, column);
    item.x = 7 + column * 48;
    item.y = 7 + row * 40;
    item.cx = 44;
    item.cy = 14;
    switch (item.kind) {
    case eDLG_STATIC:
        item.text = "Host name:";
        item.cy = 8;
        break;
    case eDLG_EDIT:
        item.text = "10";
        item.style = ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP;
        break;
    case eDLG_UPDOWN:
        item.cx = 11;
        item.style = UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS;
        break;
    case eDLG_BUTTON:
        item.text = "&Apply";
        item.style = BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case eDLG_CHECKBOX:
        item.text = "Graph";
        item.style = WS_TABSTOP;
        break;
    case eDLG_RADIO:
        item.text = "Daily";
        item.style = WS_TABSTOP;
        break;
    case eDLG_GROUPBOX:
        item.text = "Slot";
        item.cy = 34;
        break;
    case eDLG_LISTBOX:
        item.cy = 34;
        item.style = LBS_NOTIFY | LBS_USETABSTOPS | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
        break;
    case eDLG_COMBOBOX:
        item.cy = 60;
        item.style = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        break;
    case eDLG_DATETIME:
        item.style = DTS_UPDOWN | DTS_TIMEFORMAT | WS_TABSTOP;
        break;
    case eDLG_FRAME:
        item.style = SS_ETCHEDFRAME;
        item.cy = 34;
        break;
    case eDLG_HOSTED:
        // Without the component layer the dialog leaves a placeholder in the row's place.
        item.classId = "zorLightControl.29";
        item.initState = "State=1";
        break;
    }
    return item;
}

DialogTemplate makeTemplate()
{
    DialogTemplate tmpl;
    tmpl.id = c_templateId;
    tmpl.caption = "Sixty controls";
    tmpl.cx = 7 + c_kinds * 48;
    tmpl.cy = 7 + c_rows * 40;
    tmpl.style = DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    for (int row = 0; row < c_rows; ++row) {
        for (int column = 0; column < c_kinds; ++column)
            tmpl.items.push_back(cell(row, column));
    }
    return tmpl;
}

const DialogTemplate c_template = makeTemplate();
const CDialogTableRegistrar c_templates(ZOR_THIS_MODULE(), {c_template});

// A tooltip text for every control (identifiers 1000 to 1059).
#define ZOR_TIP(n)                                                                                 \
    {                                                                                              \
        10##n, "Tooltip of control 10" #n                                                          \
    }
#define ZOR_TIPS(d)                                                                                \
    ZOR_TIP(d##0), ZOR_TIP(d##1), ZOR_TIP(d##2), ZOR_TIP(d##3), ZOR_TIP(d##4), ZOR_TIP(d##5),      \
        ZOR_TIP(d##6), ZOR_TIP(d##7), ZOR_TIP(d##8), ZOR_TIP(d##9)
const CStringTableRegistrar c_tips(ZOR_THIS_MODULE(),
    {ZOR_TIPS(0), ZOR_TIPS(1), ZOR_TIPS(2), ZOR_TIPS(3), ZOR_TIPS(4), ZOR_TIPS(5)});

class CBenchDialog : public CDialog
{
public:
    CBenchDialog() : CDialog(c_templateId) { }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        fill(this);
        return TRUE;
    }

    // What a dialog's initialisation typically does with its lists.
    static void fill(CDialog* dialog)
    {
        for (int row = 0; row < c_rows; ++row) {
            if (auto* list = dynamic_cast<CListBox*>(dialog->GetDlgItem(controlId(row, 7)))) {
                for (int i = 0; i < 10; ++i)
                    list->AddString(("host\t" + std::to_string(i)).c_str());
            }
            if (auto* combo = dynamic_cast<CComboBox*>(dialog->GetDlgItem(controlId(row, 8)))) {
                for (int i = 1; i <= 5; ++i)
                    combo->AddString(std::to_string(i).c_str());
                combo->SetCurSel(0);
            }
        }
    }
};

class CBenchResizableDialog : public CResizableDialog
{
public:
    CBenchResizableDialog() : CResizableDialog(c_templateId) { }
    BOOL OnInitDialog() override
    {
        CResizableDialog::OnInitDialog();
        for (int i = 0; i < c_rows * c_kinds; ++i)
            addAnchor(static_cast<UINT>(c_firstId + i), anchorTopLeft, anchorBottomRight);
        CBenchDialog::fill(this);
        return TRUE;
    }
};

// Opens the dialog as a user sees it: created, initialised, shown and painted once.
template<class Dialog> void openDialog(benchmark::State& state)
{
    int controls = 0;
    for (auto _ : state) {
        Dialog dialog;
        if (!dialog.Create(c_templateId)) {
            state.SkipWithError("the dialog could not be created");
            break;
        }
        dialog.ShowWindow(SW_SHOW);
        const QImage painted = dialog.grabClient();
        benchmark::DoNotOptimize(painted.constBits());
        controls = static_cast<int>(dialog.children().size());

        state.PauseTiming();
        dialog.DestroyWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["controls"] = controls;
}

void BM_OpenDialog(benchmark::State& state)
{
    openDialog<CBenchDialog>(state);
}
void BM_OpenResizableDialog(benchmark::State& state)
{
    openDialog<CBenchResizableDialog>(state);
}

// The very first opening of the process, with the fonts and styles still to be loaded.
BENCHMARK(BM_OpenDialog)->Name("BM_FirstOpenDialog")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OpenDialog)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenResizableDialog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    // Painted offscreen: no display is needed and none is touched.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

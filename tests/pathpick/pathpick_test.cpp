// The file-name picker created by class id from its registered module: where it paints, the
// dialog it sets up (answered by a chooser, and once by the real dialog), the mouse, its
// persisted properties, its page and its registration.

#include "pathpick/pathpickgeometry.h"
#include "pathpick/pathpickids.h"
#include "pathpick/pathpicktypelib.h"
#include "platform/gdi/syscolor.h"
#include "platform/module/module.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/ole/proppage.h"
#include "platform/ole/site.h"
#include "platform/registry/registry.h"
#include "platform/ui/dialog.h"
#include "platform/ui/filedialog.h"

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QImage>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

constexpr UINT c_hostTemplate = 9460;
constexpr UINT c_pickerId = 700;
const std::string c_classKey = "CLSID\\{01540154-0020-0000-0029-000000000004}";

HMODULE pathPickModule()
{
    static HMODULE module = [] {
        const char* dir = std::getenv("ZORVEX_BIN_DIR");
        return LoadLibraryA((std::string(dir ? dir : ".") + "/zorpathpick29.so").c_str());
    }();
    return module;
}

void registerPathPick()
{
    static const HRESULT hr = [] {
        AfxOleInit();
        AfxEnableControlContainer();
        auto entry = reinterpret_cast<ZorDllRegisterServer>(
            GetProcAddress(pathPickModule(), "DllRegisterServer"));
        return entry ? entry() : E_FAIL;
    }();
    ASSERT_EQ(hr, S_OK) << zorModuleLoadError();
}

void pumpEvents()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30)
        QCoreApplication::processEvents();
}

COLORREF pixel(const QImage& image, int x, int y)
{
    if (!image.valid(x, y))
        return CLR_INVALID;
    const QRgb rgb = image.pixel(x, y);
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// Pixels of a rectangle darker than mid grey: text drawn in black on light ground.
int darkPixels(const QImage& image, const CRect& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = pixel(image, x, y);
            count += c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96;
        }
    }
    return count;
}

std::string text(IDispatch* object, DISPID dispid)
{
    COleVariant value;
    if (FAILED(zorGetProperty(object, dispid, &value)) || !value.ChangeType(VT_BSTR))
        return "<unreadable>";
    return value.bstrVal;
}

// The picker hosted in a dialog, with the events its site hears.
class CHostedPicker
{
public:
    CHostedPicker(const std::string& initState, int width, int height)
        : m_dialog(std::make_unique<CDialog>(c_hostTemplate))
    {
        registerPathPick();
        if (!m_dialog->Create(c_hostTemplate))
            return;
        m_site.setEventHandler(
            [this](DISPID dispid, const DISPPARAMS&) { events.push_back(dispid); });
        if (m_site.create("{01540154-0020-0000-0029-000000000004}", initState, m_dialog.get(),
                CRect(0, 0, width, height), c_pickerId)
            == S_OK)
            control()->MoveWindow(0, 0, width, height);
        pumpEvents();
    }
    ~CHostedPicker()
    {
        m_site.destroy();
        if (m_dialog->GetSafeHwnd())
            m_dialog->DestroyWindow();
    }
    COleControl* control() const { return m_site.control(); }
    IDispatch* dispatch() const { return m_site.dispatch(); }
    QImage grab()
    {
        pumpEvents();
        return control()->grabClient();
    }
    void put(DISPID dispid, const std::string& value)
    {
        ASSERT_EQ(zorPutProperty(dispatch(), dispid, COleVariant(value)), S_OK);
    }
    std::string lookupFile()
    {
        COleVariant result;
        EXPECT_EQ(zorInvoke(dispatch(), ePATHPICK_LOOKUPFILE, DISPATCH_METHOD, {}, &result), S_OK);
        return result.vt == VT_BSTR ? std::string(result.bstrVal) : "<not a text>";
    }

    std::vector<DISPID> events;

private:
    std::unique_ptr<CDialog> m_dialog;
    COleControlSite m_site;
};

// Sets a chooser for the life of the object.
class ScopedChooser
{
public:
    explicit ScopedChooser(CFileDialog::Chooser chooser)
        : m_previous(CFileDialog::setChooser(std::move(chooser)))
    { }
    ~ScopedChooser() { CFileDialog::setChooser(std::move(m_previous)); }

private:
    CFileDialog::Chooser m_previous;
};

std::string makeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    return QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
}

std::string cleanCurrentDir()
{
    return QFile::encodeName(QDir::cleanPath(QDir::currentPath())).toStdString();
}

} // namespace

ZOR_DIALOG_TABLE({
    {c_hostTemplate, "Host", 300, 200, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_VISIBLE, {}},
});

// --- geometry -----------------------------------------------------------------------------------

struct LayoutRow
{
    const char* name;
    CRect bounds;
    ZorPathPickLayout expected;
};

class PathPickLayout : public testing::TestWithParam<LayoutRow>
{
};

TEST_P(PathPickLayout, ButtonIsASquareOfTheFieldsHeightAtItsRightEnd)
{
    const ZorPathPickLayout layout = zorPathPickLayout(GetParam().bounds);
    EXPECT_EQ(layout.text, GetParam().expected.text);
    EXPECT_EQ(layout.button, GetParam().expected.button);
}

INSTANTIATE_TEST_SUITE_P(PathPick, PathPickLayout,
    testing::Values(
        // Inner 192 x 16: the button 16 wide at 180, the field up to 177; both in by 1, down 1.
        LayoutRow {"Wide", CRect(0, 0, 200, 24), {CRect(5, 6, 176, 20), CRect(181, 6, 195, 20)}},
        LayoutRow {
            "Offset", CRect(10, 20, 110, 44), {CRect(15, 26, 86, 40), CRect(91, 26, 105, 40)}},
        // Inner 12 x 52: the square reaches 40 to the left of the control, the field is -45 wide.
        LayoutRow {
            "TallerThanWide", CRect(0, 0, 20, 60), {CRect(5, 6, -40, 56), CRect(-35, 6, 15, 56)}}),
    [](const testing::TestParamInfo<LayoutRow>& info) { return info.param.name; });

// --- painting ---------------------------------------------------------------------------------

struct PaintRow
{
    const char* name;
    int width;
    int height;
    const char* file;
};

class PathPickPaint : public testing::TestWithParam<PaintRow>
{
};

TEST_P(PathPickPaint, SunkenBoxFramedFieldWithTheFileAndRaisedButton)
{
    const PaintRow& row = GetParam();
    CHostedPicker picker(std::string("File=") + row.file + "\n", row.width, row.height);
    ASSERT_NE(picker.control(), nullptr);
    const QImage image = picker.grab();
    ASSERT_EQ(image.size(), QSize(row.width, row.height));
    const ZorPathPickLayout layout = zorPathPickLayout(CRect(0, 0, row.width, row.height));
    // Below the field and the button (which in a tall control reaches over the left edge).
    const int low = row.height - 4;

    // The outer box: frame, then the sunken bevel's shadow next to it.
    EXPECT_EQ(pixel(image, 0, low), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(pixel(image, 1, low), GetSysColor(COLOR_3DSHADOW));
    // The raised button: its first ring's shadow on the right, highlight on the left.
    const CRect& button = layout.button;
    EXPECT_EQ(pixel(image, button.right - 2, button.top + 3), GetSysColor(COLOR_3DSHADOW));
    if (button.left >= 0) {
        EXPECT_EQ(pixel(image, button.left + 2, button.top + 3), GetSysColor(COLOR_3DHILIGHT));
        CRect label = button;
        label.DeflateRect(2, 2);
        EXPECT_GT(darkPixels(image, label), 0) << "the \"...\" label";
    }
    // The field, when it has room: framed with the default pen, white inside, the file in it.
    const CRect& field = layout.text;
    if (field.right > field.left) {
        EXPECT_EQ(pixel(image, field.left, field.top + 2), RGB(0, 0, 0));
        EXPECT_EQ(pixel(image, field.left + 1, field.top + 1), RGB(255, 255, 255));
        CRect inside = field;
        inside.DeflateRect(5, 2);
        EXPECT_EQ(darkPixels(image, inside) > 0, *row.file != '\0') << "the file's text";
    }
}

INSTANTIATE_TEST_SUITE_P(PathPick, PathPickPaint,
    testing::Values(PaintRow {"EmptyFile", 220, 26, ""},
        PaintRow {"WithFile", 220, 26, "/var/log/messages"},
        // The field gets a negative width; the rest is painted all the same.
        PaintRow {"TallerThanWide", 30, 90, "/var/log/messages"}),
    [](const testing::TestParamInfo<PaintRow>& info) { return info.param.name; });

// --- the dialog's set-up and answer -------------------------------------------------------------

struct LookupRow
{
    const char* name;
    // Relative to the test's folder unless empty; "{}" stands for the folder.
    std::string file;
    std::string defaultPath;
    // The initial folder the dialog must get, relative to the test's folder ("." is the
    // current directory, an absolute path stays).
    std::string folder;
    // What the chooser answers: a file it makes first, a path it does not, or Cancel.
    enum eANSWER { eMADE, eMISSING, eTOO_LONG, eCANCEL } answer;
};

class PathPickLookup : public testing::TestWithParam<LookupRow>
{
protected:
    QTemporaryDir m_dir;
    std::string in(const std::string& relative) const
    {
        std::string text = relative;
        for (std::size_t at; (at = text.find("{}")) != std::string::npos;)
            text.replace(at, 2, QFile::encodeName(m_dir.path()).toStdString());
        return text;
    }
};

TEST_P(PathPickLookup, SetsUpTheDialogFromThePropertiesAndTakesOnlyAConfirmedFile)
{
    const LookupRow& row = GetParam();
    ASSERT_TRUE(m_dir.isValid());
    CHostedPicker picker("", 200, 24);
    ASSERT_NE(picker.control(), nullptr);
    if (!row.defaultPath.empty())
        picker.put(ePATHPICK_DEFAULTPATH, in(row.defaultPath));
    picker.put(ePATHPICK_FILE, in(row.file));
    picker.control()->SetModifiedFlag(FALSE);

    const QString dir = m_dir.path();
    std::string answer;
    switch (row.answer) {
    case LookupRow::eMADE:
        answer = makeFile(dir + "/chosen/picked.txt");
        break;
    case LookupRow::eMISSING:
        answer = QFile::encodeName(dir + "/chosen/absent.txt").toStdString();
        break;
    case LookupRow::eTOO_LONG:
        // 8 folders of 70 characters: a file that exists, but a path past the 519 the box holds.
        answer = makeFile(dir + QString("/" + QString(70, 'd')).repeated(8) + "/long.txt");
        break;
    case LookupRow::eCANCEL:
        break;
    }

    int shown = 0;
    ScopedChooser chooser([&](const CFileDialog& dialog) -> std::optional<std::string> {
        ++shown;
        EXPECT_TRUE(dialog.isOpenDialog());
        EXPECT_EQ(dialog.m_ofn.lpstrTitle, "Locate File");
        EXPECT_EQ(dialog.filters(), std::vector<ZorFileFilter>({{"All Files (*.*) ", " *.* "}}));
        EXPECT_EQ(dialog.fileNameText(), "*.*") << "DefaultFile, whatever File is";
        EXPECT_EQ(dialog.m_ofn.nMaxFile, 519u);
        EXPECT_EQ(dialog.m_ofn.Flags & (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST),
            OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
        EXPECT_TRUE(dialog.m_ofn.lpstrDefExt.empty());
        EXPECT_EQ(dialog.initialFolder(), row.folder == "." ? cleanCurrentDir() : in(row.folder));
        if (row.answer == LookupRow::eCANCEL)
            return std::nullopt;
        return answer;
    });

    const std::string result = picker.lookupFile();
    EXPECT_EQ(shown, 1);
    const bool confirmed = row.answer == LookupRow::eMADE;
    EXPECT_EQ(result, confirmed ? answer : "");
    EXPECT_EQ(text(picker.dispatch(), ePATHPICK_FILE), confirmed ? answer : in(row.file));
    EXPECT_EQ(text(picker.dispatch(), ePATHPICK_VALUE), confirmed ? answer : in(row.file));
    EXPECT_EQ(picker.control()->IsModified(), confirmed ? TRUE : FALSE);
}

INSTANTIATE_TEST_SUITE_P(PathPick, PathPickLookup,
    testing::Values(
        // ".\" is the current directory.
        LookupRow {"Defaults", "", "", ".", LookupRow::eMADE},
        // File's folder wins over DefaultPath; its file part is not used.
        LookupRow {
            "FileInAnotherFolder", "{}/other/old.txt", "{}/unused/", "{}/other", LookupRow::eMADE},
        // Windows separators, no drive: the directory part alone ("in" is a file part).
        LookupRow {"DefaultPathWithoutDrive", "", "{}\\sub\\in", "{}/sub", LookupRow::eMADE},
        // A drive letter means nothing here: its folder is taken from the root.
        LookupRow {"DefaultPathWithDrive", "", "C:\\data\\logs\\", "/data/logs", LookupRow::eMADE},
        LookupRow {"CancelKeepsFile", "{}/kept.txt", "", "{}", LookupRow::eCANCEL},
        LookupRow {"MissingFileIsRefused", "", "", ".", LookupRow::eMISSING},
        LookupRow {"PathLongerThanTheBoxIsRefused", "", "", ".", LookupRow::eTOO_LONG}),
    [](const testing::TestParamInfo<LookupRow>& info) { return info.param.name; });

// --- the mouse ----------------------------------------------------------------------------------

struct MouseRow
{
    const char* name;
    UINT message;
    bool onButton;
    bool confirm;
    // The dialog opens, and Click fires after it.
    bool opens;
};

class PathPickMouse : public testing::TestWithParam<MouseRow>
{
};

TEST_P(PathPickMouse, OnlyAPressOnTheButtonOpensTheDialogAndClicksAfterIt)
{
    const MouseRow& row = GetParam();
    QTemporaryDir dir;
    const std::string chosen = makeFile(dir.path() + "/clicked.txt");
    CHostedPicker picker("", 200, 24);
    ASSERT_NE(picker.control(), nullptr);
    // The button is where the last paint put it.
    const QImage before = picker.grab();
    const ZorPathPickLayout layout = zorPathPickLayout(CRect(0, 0, 200, 24));
    const CRect& button = layout.button;
    const CPoint at = row.onButton ? button.CenterPoint() : layout.text.CenterPoint();

    int shown = 0;
    COLORREF edgeWhileOpen = CLR_INVALID;
    ScopedChooser chooser([&](const CFileDialog&) -> std::optional<std::string> {
        ++shown;
        const QImage open = picker.control()->grabClient();
        edgeWhileOpen = pixel(open, button.right - 2, button.top + 3);
        EXPECT_TRUE(picker.events.empty()) << "no Click while the dialog is open";
        if (!row.confirm)
            return std::nullopt;
        return chosen;
    });
    picker.control()->SendMessage(row.message, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(shown, row.opens ? 1 : 0);
    EXPECT_TRUE(picker.events.empty()) << "the click comes back through the container";
    const QImage after = picker.grab();

    EXPECT_EQ(
        picker.events, row.opens ? std::vector<DISPID> {DISPID_CLICK} : std::vector<DISPID> {});
    EXPECT_EQ(text(picker.dispatch(), ePATHPICK_FILE), row.opens && row.confirm ? chosen : "");
    if (row.opens) {
        EXPECT_EQ(edgeWhileOpen, GetSysColor(COLOR_3DHILIGHT)) << "pressed while open";
    }
    EXPECT_EQ(pixel(after, button.right - 2, button.top + 3), GetSysColor(COLOR_3DSHADOW))
        << "raised afterwards";
}

INSTANTIATE_TEST_SUITE_P(PathPick, PathPickMouse,
    testing::Values(MouseRow {"ButtonPressConfirmed", WM_LBUTTONDOWN, true, true, true},
        MouseRow {"ButtonPressCancelled", WM_LBUTTONDOWN, true, false, true},
        MouseRow {"TextFieldPress", WM_LBUTTONDOWN, false, true, false},
        MouseRow {"ButtonDoubleClick", WM_LBUTTONDBLCLK, true, true, false}),
    [](const testing::TestParamInfo<MouseRow>& info) { return info.param.name; });

// --- the real dialog --------------------------------------------------------------------------

TEST(PathPickDialog, RealDialogOpensSetUpAndItsAcceptedFileBecomesFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string old = makeFile(dir.path() + "/folder/old.txt");
    const std::string chosen = makeFile(dir.path() + "/folder/new.txt");
    CHostedPicker picker(std::string("File=") + old + "\n", 200, 24);
    ASSERT_NE(picker.control(), nullptr);
    ScopedChooser realDialog {CFileDialog::Chooser {}};

    struct
    {
        QString title;
        QStringList filters;
        QString folder;
        QString fileNameText;
        bool found {false};
    } seen;
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        // Never left waiting: a dialog that does not show or does not take the file is a
        // failure, not a hang.
        if (waited.elapsed() > 10000) {
            poll.stop();
            for (QWidget* widget : windows) {
                if (auto* box = qobject_cast<QMessageBox*>(widget))
                    box->done(QMessageBox::Ok);
                else if (auto* dialog = qobject_cast<QFileDialog*>(widget))
                    dialog->reject();
            }
            return;
        }
        // The dialog's own check of the name may not know the file yet while its folder is
        // still being read: its message is closed and the dialog asked again.
        for (QWidget* widget : windows) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                box->done(QMessageBox::Ok);
                return;
            }
        }
        for (QWidget* widget : windows) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (!dialog || !dialog->isVisible())
                continue;
            if (!seen.found) {
                seen.found = true;
                seen.title = dialog->windowTitle();
                seen.filters = dialog->nameFilters();
                seen.folder = dialog->directory().absolutePath();
                if (auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    seen.fileNameText = box->text();
            }
            dialog->selectFile(QFile::decodeName(QByteArray::fromStdString(chosen)));
            // The dialog's own check of the name runs as for the user's Open; queued, so that
            // a message box it opens meets this timer again instead of blocking inside it.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return;
        }
        if (seen.found)
            poll.stop();
    });
    poll.start(20);

    const std::string result = picker.lookupFile();
    ASSERT_TRUE(seen.found) << "no file dialog among the top-level windows";
    EXPECT_EQ(seen.title, QStringLiteral("Locate File"));
    EXPECT_EQ(seen.filters, QStringList {QStringLiteral("All Files (*.*) (*)")});
    EXPECT_EQ(seen.folder, dir.path() + "/folder");
    EXPECT_EQ(seen.fileNameText, QStringLiteral("*.*"));
    EXPECT_EQ(result, chosen);
    EXPECT_EQ(text(picker.dispatch(), ePATHPICK_FILE), chosen);
}

// --- persistence, page and registration -------------------------------------------------------

TEST(PathPickPersistence, DefaultsInOrderAndMissingPropertiesTakeThem)
{
    CHostedPicker picker("DialogTitle=Find It\n", 200, 24);
    ASSERT_NE(picker.control(), nullptr);
    EXPECT_EQ(text(picker.dispatch(), ePATHPICK_DIALOGTITLE), "Find It");
    EXPECT_EQ(text(picker.dispatch(), ePATHPICK_DEFAULTPATH), ".\\");
    picker.put(ePATHPICK_VALUE, "/tmp/a b.txt");
    EXPECT_EQ(text(picker.dispatch(), ePATHPICK_FILE), "/tmp/a b.txt") << "_File is File";

    std::string bag;
    ASSERT_EQ(picker.control()->saveToBag(&bag), S_OK);
    std::size_t at = 0;
    for (const char* line : {"File=/tmp/a b.txt\n", "DefaultPath=.\\\\\n", "DefaultFile=*.*\n",
             "DefaultFilePrompt=All Files (*.*)\n", "DialogTitle=Find It\n",
             "BackColor=0x0F000000\n", "ForeColor=0x08000000\n", "Font=", "_ExtentX="}) {
        at = bag.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " in order in\n" << bag;
    }

    // A stream round trip keeps every value.
    std::string stream;
    ASSERT_EQ(picker.control()->saveToStream(&stream), S_OK);
    CHostedPicker again("", 200, 24);
    ASSERT_EQ(again.control()->loadFromStream(stream), S_OK);
    for (DISPID dispid : {ePATHPICK_FILE, ePATHPICK_DEFAULTPATH, ePATHPICK_DEFAULTFILE,
             ePATHPICK_DEFAULTFILEPROMPT, ePATHPICK_DIALOGTITLE})
        EXPECT_EQ(text(again.dispatch(), dispid), text(picker.dispatch(), dispid)) << dispid;
}

TEST(PathPickPage, ShowsTheFiveTextsAndAppliesAnEdit)
{
    CHostedPicker picker("File=/srv/data.bin\nDefaultFile=*.bin\n", 200, 24);
    ASSERT_NE(picker.control(), nullptr);
    CPropertyFrame frame("PathPick", {picker.dispatch()}, picker.control()->GetPropPageIDs());
    ASSERT_TRUE(frame.createFrame(nullptr));
    ASSERT_EQ(frame.pageCount(), 1);
    EXPECT_EQ(frame.pageCaption(0), "General");
    COlePropertyPage* page = frame.page(0);
    const std::pair<int, const char*> shown[] = {{IDC_PATHPICK_DEFAULTPATH, ".\\"},
        {IDC_PATHPICK_DEFAULTFILE, "*.bin"}, {IDC_PATHPICK_FILE, "/srv/data.bin"},
        {IDC_PATHPICK_FILEPROMPT, "All Files (*.*)"}, {IDC_PATHPICK_DIALOGTITLE, "Locate File"}};
    for (const auto& [id, value] : shown)
        EXPECT_EQ(page->GetDlgItemText(id), value) << id;

    page->SetDlgItemText(IDC_PATHPICK_DIALOGTITLE, "Choose a log");
    page->SetModified(TRUE);
    EXPECT_TRUE(frame.apply());
    EXPECT_EQ(text(picker.dispatch(), ePATHPICK_DIALOGTITLE), "Choose a log");
    frame.DestroyWindow();
}

TEST(PathPickRegistration, NotInsertableApartmentWithToolboxBitmapOne)
{
    registerPathPick();
    const auto value = [](const std::string& path) -> std::string {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return "<no key " + path + ">";
        char data[1024];
        DWORD size = sizeof data;
        DWORD type = 0;
        const LONG result
            = RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? std::string(data, size) : "<no value>";
    };
    HKEY key = nullptr;
    EXPECT_NE(
        RegOpenKeyExA(HKEY_CLASSES_ROOT, (c_classKey + "\\Insertable").c_str(), 0, KEY_READ, &key),
        ERROR_SUCCESS);
    EXPECT_EQ(value(c_classKey + "\\MiscStatus\\1"), "131473");
    const std::string bitmap = value(c_classKey + "\\ToolboxBitmap32");
    EXPECT_EQ(bitmap.substr(bitmap.size() - 3), ", 1");
    EXPECT_EQ(value(c_classKey + "\\ProgID"), "zorPathPickControl.29");
    EXPECT_EQ(value(c_classKey + "\\TypeLib"), "{01540154-0020-0000-0029-000000000001}");
    EXPECT_EQ(value("CLSID\\{01540154-0020-0000-0029-000000000005}"),
        "zorPathPickControl.29 Property Page");
}

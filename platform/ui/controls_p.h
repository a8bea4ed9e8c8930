#pragma once

// The widgets behind the standard controls.
//
// A control keeps its state in its widget, not in its window object, as a control keeps it in
// its window on the platform: a DDX_Control or SubclassWindow hands the widget to another
// window object, which must find the list's items, the up-down's range or the picker's value
// where the first object left them. The window objects (CEdit, CListBox, ...) are thin: each
// call finds the widget and asks it.
//
// Notifications go to the parent through whichever window object owns the widget's handle at
// that moment; they start once the window exists (creation itself notifies nothing, as on the
// platform) and stop when the window is destroyed.

#include "platform/ui/controls.h"

#include <QtCore/QAbstractItemModel>
#include <QtCore/QDateTime>
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtGui/QValidator>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDateTimeEdit>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListView>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QStyledItemDelegate>

#include <memory>
#include <string>
#include <vector>

// --- plain functions of the controls' arithmetic ----------------------------------------

// Tab stops of a list box: given in dialog units, used in pixels of the list's font
// (pixels = units * baseX / 4, rounded as the platform's MulDiv). One stop means a stop every
// that many units; none means the platform's default of one every 32 units; after the last of
// several stops the default spacing goes on.
class CListTabStops
{
public:
    void set(const std::vector<int>& dialogUnits, int baseX);
    // The position a tab moves to from x (pixels from the item's origin): the first stop
    // beyond x.
    int next(int x) const;
    // The nth stop (0-based) in pixels.
    int stop(int n) const;
    const std::vector<int>& dialogUnits() const { return m_units; }

private:
    std::vector<int> m_units;
    std::vector<int> m_pixels;
    int m_spacing {0};
};

// The x position (from the item's origin) of each tab-separated part of a text whose parts are
// the given widths wide, the first part starting at `start`.
std::vector<int> zorTabbedPartPositions(
    const std::vector<int>& partWidths, const CListTabStops& stops, int start);

// Paints a list item's text in `area` as list boxes do: the selection's highlight, the text one
// pixel in (its tab-separated parts at the tab stops when `stops` is given), the focus frame.
void zorPaintListItemText(QPainter* painter, const QStyleOptionViewItem& option, const QRect& area,
    const QString& text, const CListTabStops* stops, QWidget* list);

// The up-down's move from pos by delta in the range lower..upper (either way round): the new
// position, clamped to the range or, with wrap, carried round to the other end.
int zorUpDownOffset(int pos, int delta, int lower, int upper, bool wrap);
// The buddy text of a position: thousands separated by "," unless plain.
std::string zorUpDownText(int pos, bool thousands);
// The number of a buddy text (separators ignored); false when the text is no number.
bool zorUpDownParse(const std::string& text, int& value);

// A date-time format in the platform's letters as Qt's display format.
QString zorQtDateTimeFormat(const std::string& format);

// --- the widgets ------------------------------------------------------------------------

// What every control's widget has: its text as the control's own window procedure answers
// WM_SETTEXT and WM_GETTEXT, and the link to the window that notifies.
class CControlWidget
{
public:
    virtual ~CControlWidget() = default;

    virtual QString controlText() const = 0;
    virtual void setControlText(const QString& text) = 0;

    // The window exists: notifications start.
    void goLive(CWnd* wnd) { m_hwnd = wnd ? wnd->m_hWnd : nullptr; }
    // The window object that owns the widget now (null before creation and after destruction).
    CWnd* controlWindow() const { return CWnd::FromHandle(m_hwnd); }
    void notify(UINT code) const;
    LRESULT notify(NMHDR* header) const;

    // A change the program makes (not the user): its signals notify nothing.
    int m_quiet {0};

private:
    HWND m_hwnd {nullptr};
};

// A scope in which the widget's changes are the program's.
class CQuietChange
{
public:
    explicit CQuietChange(CControlWidget* control) : m_control(control) { ++m_control->m_quiet; }
    ~CQuietChange() { --m_control->m_quiet; }
    CQuietChange(const CQuietChange&) = delete;
    CQuietChange& operator=(const CQuietChange&) = delete;

private:
    CControlWidget* m_control;
};

// Rejects typed text beyond the limit, and anything but digits with ES_NUMBER. Only what the
// user types is checked, as on the platform; the program's texts are taken as they are.
class CEditValidator : public QValidator
{
public:
    explicit CEditValidator(QObject* parent) : QValidator(parent) { }
    State validate(QString& input, int& pos) const override;

    int m_limit {0};
    bool m_digitsOnly {false};
};

class CEditWidget : public QLineEdit, public CControlWidget
{
public:
    explicit CEditWidget(DWORD style);
    ~CEditWidget() override;

    QString controlText() const override { return text(); }
    void setControlText(const QString& text) override;
    void setLimit(int nChars);
    void applyReadOnly(bool readOnly);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CEditValidator* m_validator {nullptr};
};

class CMultiEditWidget : public QPlainTextEdit, public CControlWidget
{
public:
    explicit CMultiEditWidget(DWORD style);
    ~CMultiEditWidget() override;

    // The platform's multi-line texts end their lines with "\r\n".
    QString controlText() const override;
    void setControlText(const QString& text) override;
    void applyReadOnly(bool readOnly);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Static text, icon, etched frame or line, black rectangle: drawn here in the dialog font.
class CStaticWidget : public QLabel, public CControlWidget
{
public:
    explicit CStaticWidget(DWORD style);

    QString controlText() const override { return text(); }
    void setControlText(const QString& text) override;
    HICON setIcon(HICON icon);
    HICON icon() const { return m_icon; }
    DWORD type() const { return m_style & SS_TYPEMASK; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void drawEtched(QPainter& painter);
    void drawText(QPainter& painter);

    DWORD m_style {0};
    HICON m_icon {nullptr};
};

class CPushWidget : public QPushButton, public CControlWidget
{
public:
    CPushWidget();
    ~CPushWidget() override;
    QString controlText() const override { return text(); }
    void setControlText(const QString& text) override { setText(text); }
};

// A check box; only the automatic kinds change their state when clicked.
class CCheckWidget : public QCheckBox, public CControlWidget
{
public:
    explicit CCheckWidget(DWORD type);
    ~CCheckWidget() override;
    QString controlText() const override { return text(); }
    void setControlText(const QString& text) override { setText(text); }

protected:
    void nextCheckState() override;

private:
    bool m_automatic {true};
};

// A radio button. Groups are the platform's (from a WS_GROUP control to the next), not Qt's
// (every radio button of one parent), so the automatic kind checks itself and clears the
// others of its group.
class CRadioWidget : public QRadioButton, public CControlWidget
{
public:
    explicit CRadioWidget(DWORD type);
    ~CRadioWidget() override;
    QString controlText() const override { return text(); }
    void setControlText(const QString& text) override { setText(text); }

protected:
    void nextCheckState() override;

private:
    void clearGroup();

    bool m_automatic {true};
};

class CGroupWidget : public QGroupBox, public CControlWidget
{
public:
    CGroupWidget();
    QString controlText() const override { return title(); }
    void setControlText(const QString& text) override { setTitle(text); }

protected:
    // The platform's look: an etched frame whose top line runs through the middle of the
    // caption, the caption on the dialog background a few pixels in from the left.
    void paintEvent(QPaintEvent* event) override;
};

class CListBoxWidget;

// Draws a list item as the platform's list box does: text one pixel in, tabs expanded to the
// tab stops with LBS_USETABSTOPS, the selection across the whole item.
class CListBoxDelegate : public QStyledItemDelegate
{
public:
    explicit CListBoxDelegate(CListBoxWidget* list);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CListBoxWidget* m_list;
};

// The items of a list box: the suite's single-byte texts as the program gave them, shown as Qt
// text on demand. A list of a million lines holds a million texts and nothing else, and only
// the lines on screen are ever converted.
class CListBoxModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int count() const { return static_cast<int>(m_items.size()); }
    const std::string& text(int row) const { return m_items[static_cast<std::size_t>(row)]; }
    void insert(int row, std::string text);
    void remove(int row);
    // Every item at once: one reset of the model, whatever the number of items.
    void replace(std::vector<std::string> items);

private:
    std::vector<std::string> m_items;
};

class CListBoxWidget : public QListView, public CControlWidget
{
public:
    CListBoxWidget(DWORD style, int baseX, int itemHeight);
    ~CListBoxWidget() override;

    QString controlText() const override { return m_text; }
    void setControlText(const QString& text) override { m_text = text; }

    int count() const { return m_items->count(); }
    const std::string& text(int index) const { return m_items->text(index); }
    int addString(const std::string& text);
    int insertString(int index, const std::string& text);
    int deleteString(int index);
    void resetContent();
    // Replaces every item, as a reset of the content followed by adding each item: no item
    // selected, the first one at the top.
    void replaceContent(std::vector<std::string> items);
    int curSel() const;
    int setCurSel(int index);
    int findStringExact(int start, const std::string& text) const;
    bool usesTabStops() const { return m_style & LBS_USETABSTOPS; }
    const CListTabStops& tabs() const { return m_tabs; }
    void setTabStops(const std::vector<int>& dialogUnits);
    int extent() const { return m_extent; }
    void setExtent(int cx);
    int topIndex() const;
    int setTopIndex(int index);
    int itemHeight() const { return m_itemHeight; }
    int baseX() const { return m_baseX; }

protected:
    void updateGeometries() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    DWORD m_style {0};
    int m_baseX {6};
    int m_itemHeight {13};
    int m_extent {0};
    CListTabStops m_tabs;
    QString m_text;
    CListBoxModel* m_items {nullptr};
};

class CComboWidget : public QComboBox, public CControlWidget
{
public:
    explicit CComboWidget(DWORD style);
    ~CComboWidget() override;

    QString controlText() const override;
    void setControlText(const QString& text) override;

    int addString(const QString& text);
    int insertString(int index, const QString& text);
    int deleteString(int index);
    void resetContent();
    int curSel() const { return currentIndex(); }
    int setCurSel(int index);
    int findStringExact(int start, const QString& text) const;
    // CB_SELECTSTRING: selects the first item from start on that begins with the text.
    int selectString(int start, const QString& text);

    void showPopup() override;
    void hidePopup() override;

private:
    DWORD m_style {0};
};

// The up-down control: two arrow buttons drawn in the classic look.
class CUpDownWidget : public QWidget, public CControlWidget
{
public:
    explicit CUpDownWidget(DWORD style);
    ~CUpDownWidget() override;

    QString controlText() const override { return m_text; }
    void setControlText(const QString& text) override { m_text = text; }

    void setRange(int lower, int upper);
    int lower() const { return m_lower; }
    int upper() const { return m_upper; }
    int setPos(int pos);
    // The position, read back from the buddy's number first (UDS_SETBUDDYINT).
    int pos();
    CWnd* setBuddy(CWnd* buddy);
    CWnd* buddy() const { return CWnd::FromHandle(m_buddy); }
    void step(int direction);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readBuddy();
    void writeBuddy();
    void alignToBuddy();
    void repeat();
    // +1 for the half that increases (up, or right with UDS_HORZ), -1 for the other.
    int partAt(const QPoint& point) const;

    DWORD m_style {0};
    // The platform's default range runs from 100 down to 0.
    int m_lower {100};
    int m_upper {0};
    int m_pos {0};
    HWND m_buddy {nullptr};
    QPointer<QWidget> m_buddyWidget;
    int m_pressed {0};
    QTimer m_repeat;
    QString m_text;
};

class CDateTimeWidget : public QDateTimeEdit, public CControlWidget
{
public:
    explicit CDateTimeWidget(DWORD style);
    ~CDateTimeWidget() override;

    QString controlText() const override { return text(); }
    void setControlText(const QString&) override { }

    void setFormat(const QString& qtFormat);
    // The whole value: a picker that shows only a time (or only a date) keeps the other part
    // as it was set, as the platform's picker keeps its whole system time.
    QDateTime value() const;
    void setValue(const QDateTime& value);
    void setLimits(const QDateTime& minimum, const QDateTime& maximum);

private:
    bool showsDate() const;
    bool showsTime() const;

    QDateTime m_value;
    QDateTime m_minimum;
    QDateTime m_maximum;
};

// The control widget of a window, or null when the window is no standard control.
CControlWidget* zorControlWidget(const CWnd* wnd);
template<class T> T* zorControlOf(const CWnd* wnd)
{
    return wnd ? dynamic_cast<T*>(wnd->widget()) : nullptr;
}
// Puts the focus on the control and selects an edit box's whole text.
void zorFocusControl(CWnd* wnd, bool selectText);
// Whether the window is a radio button (DDX_Radio walks its group).
bool zorIsRadioButton(const CWnd* wnd);
// The check state of a button's widget (BST_*), whatever window object owns it.
int zorButtonCheck(const CWnd* wnd);
void zorSetButtonCheck(CWnd* wnd, int check);
// The whole value of a picker's widget; false when the window is no picker (or, setting, the
// value is not valid).
bool zorPickerTime(const CWnd* wnd, COleDateTime& value);
bool zorSetPickerTime(CWnd* wnd, const COleDateTime& value);

// --- shared by the controls ---------------------------------------------------------------

// A system colour (COLOR_*) as Qt's colour.
QColor zorSysQColor(int index);

// The standard controls' default window procedure: their text from the widget
// (zorControlWindowProc), everything else as any window.
LRESULT zorControlDefWindowProc(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam);

// The first index from start + 1 on (wrapping round; -1 starts at the top) whose text
// matches, -1 when none does.
template<class Matches> int zorSearchFrom(int start, int count, Matches matches)
{
    if (count <= 0)
        return -1;
    if (start < -1 || start >= count)
        start = -1;
    for (int n = 0; n < count; ++n) {
        const int i = (start + 1 + n) % count;
        if (matches(i))
            return i;
    }
    return -1;
}

// --- making the control of a template row -----------------------------------------------

// A template row while its control is made: the style and place a kind may adjust, and the
// base units of the dialog font.
struct ZorControlRow
{
    const DialogItem& item;
    DWORD style {0};
    CRect place;
    int baseX {6};
    int baseY {13};
};

// What a kind makes of a row: its widget, the window object over it, the window's class name
// and the focus the control takes without WS_TABSTOP (a click, unless it never takes any).
struct ZorControlParts
{
    QWidget* widget {nullptr};
    CControlWidget* control {nullptr};
    std::unique_ptr<CWnd> wnd;
    const char* className {""};
    Qt::FocusPolicy untabbed {Qt::ClickFocus};
};

// The maker of each kind, and what a kind does once its window exists.
using ZorControlMaker = ZorControlParts (*)(ZorControlRow& row);
using ZorControlFinisher = void (*)(CWnd* wnd, QWidget* widget, const ZorControlRow& row);

ZorControlParts zorMakeStaticRow(ZorControlRow& row);
ZorControlParts zorMakeFrameRow(ZorControlRow& row);
void zorFinishStaticRow(CWnd* wnd, QWidget* widget, const ZorControlRow& row);
ZorControlParts zorMakeEditRow(ZorControlRow& row);
// The kind a button row of the style makes: a check box, radio button or group box by its
// button type, else a push button.
eDLGITEM zorButtonRowKind(DWORD style);
ZorControlParts zorMakePushRow(ZorControlRow& row);
ZorControlParts zorMakeCheckRow(ZorControlRow& row);
ZorControlParts zorMakeRadioRow(ZorControlRow& row);
ZorControlParts zorMakeGroupRow(ZorControlRow& row);
ZorControlParts zorMakeListRow(ZorControlRow& row);
ZorControlParts zorMakeComboRow(ZorControlRow& row);
void zorFinishComboRow(CWnd* wnd, QWidget* widget, const ZorControlRow& row);
ZorControlParts zorMakeUpDownRow(ZorControlRow& row);
void zorFinishUpDownRow(CWnd* wnd, QWidget* widget, const ZorControlRow& row);
ZorControlParts zorMakeDateTimeRow(ZorControlRow& row);
// A hosted-control row: made by the installed factory, else an empty site of class
// "ZorHostedSite" that keeps the row's place and id.
CWnd* zorCreateHostedRow(CWnd* dialog, const DialogItem& item, const CRect& rect, DWORD style);

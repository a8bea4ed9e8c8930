#include "platform/ui/combobox.h"

#include "platform/gdi/fonts.h"
#include "platform/gdi/syscolor.h"
#include "platform/ui/controls_p.h"
#include "platform/ui/resources.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QTextCursor>
#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOption>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

// The id the platform gives the edit box inside a drop-down combo box.
constexpr int c_comboEditId = 1001;

bool startsWithNoCase(const QString& text, const QString& prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

} // namespace

// --- combo boxes -------------------------------------------------------------------------

CComboWidget::CComboWidget(DWORD style) : m_style(style)
{
    const DWORD kind = style & CBS_DROPDOWNLIST;
    const bool editable = kind == CBS_DROPDOWN || kind == CBS_SIMPLE;
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    if (editable) {
        // The platform's combo box neither completes nor keeps what is typed as an item.
        setCompleter(nullptr);
        connect(lineEdit(), &QLineEdit::textEdited, this, [this] { notify(CBN_EDITCHANGE); });
    }
    connect(this, &QComboBox::currentIndexChanged, this, [this] { notify(CBN_SELCHANGE); });
}

CComboWidget::~CComboWidget()
{
    goLive(nullptr);
}

QString CComboWidget::controlText() const
{
    if (isEditable())
        return currentText();
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void CComboWidget::setControlText(const QString& text)
{
    // A drop-down list has no text of its own to set.
    if (isEditable())
        setEditText(text);
}

int CComboWidget::addString(const QString& text)
{
    int index = count();
    if (m_style & CBS_SORT) {
        index = 0;
        while (index < count() && QString::compare(itemText(index), text, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    return insertString(index, text);
}

int CComboWidget::insertString(int index, const QString& text)
{
    if (index == -1)
        index = count();
    if (index < 0 || index > count())
        return CB_ERR;
    CQuietChange quiet(this);
    const int selected = currentIndex();
    const QString editText = isEditable() ? currentText() : QString();
    insertItem(index, text);
    // Qt selects the first item put into an empty box; the platform's box stays unselected.
    if (selected < 0 && currentIndex() >= 0) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(editText);
    }
    return index;
}

int CComboWidget::deleteString(int index)
{
    if (index < 0 || index >= count())
        return CB_ERR;
    CQuietChange quiet(this);
    const bool wasSelected = index == currentIndex();
    const QString editText = isEditable() ? currentText() : QString();
    removeItem(index);
    // Deleting the selected item leaves no selection (Qt would select a neighbour).
    if (wasSelected) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(editText);
    }
    return count();
}

void CComboWidget::resetContent()
{
    CQuietChange quiet(this);
    clear();
}

int CComboWidget::setCurSel(int index)
{
    CQuietChange quiet(this);
    if (index < 0 || index >= count()) {
        setCurrentIndex(-1);
        return CB_ERR;
    }
    setCurrentIndex(index);
    return index;
}

int CComboWidget::findStringExact(int start, const QString& text) const
{
    const int found = zorSearchFrom(start, count(),
        [&](int i) { return QString::compare(itemText(i), text, Qt::CaseInsensitive) == 0; });
    return found < 0 ? CB_ERR : found;
}

int CComboWidget::selectString(int start, const QString& text)
{
    if (text.isEmpty())
        return CB_ERR;
    const int found
        = zorSearchFrom(start, count(), [&](int i) { return startsWithNoCase(itemText(i), text); });
    if (found < 0)
        return CB_ERR;
    return setCurSel(found);
}

void CComboWidget::showPopup()
{
    notify(CBN_DROPDOWN);
    QComboBox::showPopup();
}

void CComboWidget::hidePopup()
{
    QComboBox::hidePopup();
    notify(CBN_CLOSEUP);
}

// --- CComboBox ---------------------------------------------------------------------------

LRESULT CComboBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return zorControlDefWindowProc(this, message, wParam, lParam);
}

int CComboBox::AddString(const char* lpszString)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->addString(zorFromCodePage(std::string(lpszString ? lpszString : "")))
                 : CB_ERR;
}

int CComboBox::InsertString(int nIndex, const char* lpszString)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo
        ? combo->insertString(nIndex, zorFromCodePage(std::string(lpszString ? lpszString : "")))
        : CB_ERR;
}

int CComboBox::DeleteString(UINT nIndex)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->deleteString(static_cast<int>(nIndex)) : CB_ERR;
}

void CComboBox::ResetContent()
{
    if (auto* combo = zorControlOf<CComboWidget>(this))
        combo->resetContent();
}

int CComboBox::GetCount() const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->count() : CB_ERR;
}

int CComboBox::GetCurSel() const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->curSel() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->setCurSel(nSelect) : CB_ERR;
}

void CComboBox::GetLBText(int nIndex, std::string& rString) const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    if (!combo || nIndex < 0 || nIndex >= combo->count()) {
        rString.clear();
        return;
    }
    rString = zorToCodePage(combo->itemText(nIndex));
}

int CComboBox::FindStringExact(int nIndexStart, const char* lpszFind) const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    return combo ? combo->findStringExact(
               nIndexStart, zorFromCodePage(std::string(lpszFind ? lpszFind : "")))
                 : CB_ERR;
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    auto* combo = zorControlOf<CComboWidget>(this);
    if (!combo || nIndex < 0 || nIndex >= combo->count())
        return CB_ERR;
    combo->setItemData(nIndex, QVariant::fromValue<qulonglong>(dwItemData), Qt::UserRole);
    return TRUE;
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    auto* combo = zorControlOf<CComboWidget>(this);
    if (!combo || nIndex < 0 || nIndex >= combo->count())
        return static_cast<DWORD_PTR>(CB_ERR);
    return static_cast<DWORD_PTR>(combo->itemData(nIndex, Qt::UserRole).toULongLong());
}

// --- the control of a template row -------------------------------------------------------

ZorControlParts zorMakeComboRow(ZorControlRow& row)
{
    if (!(row.style & CBS_DROPDOWNLIST))
        row.style |= CBS_DROPDOWNLIST;
    auto* combo = new CComboWidget(row.style);
    // The template's height includes the dropped list; the box itself is as high as the
    // platform makes it for the font (13 units of the font's height, in eighths).
    const int closed = 13 * row.baseY / 8;
    combo->setMaxVisibleItems(std::max(1, (row.place.Height() - closed) / row.baseY));
    row.place.bottom = row.place.top + closed;
    ZorControlParts parts {combo, combo, std::make_unique<CComboBox>(), "ComboBox"};
    return parts;
}

void zorFinishComboRow(CWnd*, QWidget* widget, const ZorControlRow&)
{
    // The edit box of a drop-down combo box has the platform's id.
    if (auto* combo = static_cast<CComboWidget*>(widget); combo->lineEdit()) {
        if (CWnd* edit = CWnd::fromWidget(combo->lineEdit()))
            edit->SetDlgCtrlID(c_comboEditId);
    }
}

#pragma once

// The widgets behind the list view and its header, and the model that holds the list's columns
// and items. The columns are held once, in the model: the list's column calls and the header's
// item calls both read and write them there.

#include "platform/gdi/logfont.h"
#include "platform/ui/controls_p.h"
#include "platform/ui/listctrl.h"

#include <QtCore/QAbstractTableModel>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTableView>

#include <memory>
#include <string>
#include <vector>

struct ZorListColumn
{
    std::string text;
    int fmt {LVCFMT_LEFT};
    int subItem {0};
    LPARAM lParam {0};
};

struct ZorListItem
{
    // The texts by sub-item number (missing ones are empty).
    std::vector<std::string> texts;
    int image {0};
    LPARAM data {0};
};

class CListWidget;

// The rows and columns of a list. An owner-data list holds only its row count; data() asks the
// owner for the text of a shown cell.
class CListModel : public QAbstractTableModel
{
public:
    CListModel(CListWidget* list, bool ownerData);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    bool ownerData() const { return m_ownerData; }
    int count() const { return m_ownerData ? m_count : static_cast<int>(m_items.size()); }

    int columns() const { return static_cast<int>(m_columns.size()); }
    const ZorListColumn& column(int col) const { return m_columns[static_cast<std::size_t>(col)]; }
    void insertColumn(int col, ZorListColumn column);
    void removeColumn(int col);
    void changeColumn(int col, const ZorListColumn& column);

    // Ordinary lists only.
    ZorListItem& item(int row) { return m_items[static_cast<std::size_t>(row)]; }
    const ZorListItem& item(int row) const { return m_items[static_cast<std::size_t>(row)]; }
    void insertItem(int row, ZorListItem item);
    void removeItem(int row);
    void removeAll();
    void changedItem(int row);
    // Puts the items in the order of the permutation (order[i] = the old row of new row i);
    // selections and other persistent indexes follow their items.
    void reorder(const std::vector<int>& order);

    // Owner-data lists only.
    void setCount(int count);

    // The text of a cell: the stored one, or the owner's answer to LVN_GETDISPINFO.
    std::string text(int row, int subItem) const;

    // How many times the owner was asked for a text (tests and benchmarks read it).
    mutable long long m_dispInfoRequests {0};

private:
    CListWidget* m_list;
    bool m_ownerData {false};
    int m_count {0};
    std::vector<ZorListColumn> m_columns;
    std::vector<ZorListItem> m_items;
};

// The header of a list: sections drawn by the owner's DrawItem when owner-drawn, and the
// clicks, the end of a resize and divider double clicks reported to the list.
class CHeaderWidget : public QHeaderView
{
public:
    CHeaderWidget(CListWidget* list, CListModel* model);
    ~CHeaderWidget() override;

    CListModel* listModel() const { return m_model; }
    CListWidget* list() const { return m_list; }
    // The section drawn pressed (-1 for none).
    int pressedSection() const { return m_pressed; }
    // Draws one owner-drawn section through the window object that owns the header now;
    // true when it did.
    bool drawOwnerSection(QPainter* painter, const QRect& rect, int logicalIndex) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void notifyHeader(UINT code, int item, int button);

    CListWidget* m_list;
    CListModel* m_model;
    int m_pressed {-1};
    Qt::MouseButton m_pressButton {Qt::NoButton};
    // The section being resized by the user since the press (-1 for none).
    int m_tracking {-1};
    // The window object the header has until another one subclasses it.
    std::unique_ptr<CHeaderCtrl> m_defaultWnd;
};

class CListWidget : public QTableView, public CControlWidget
{
public:
    explicit CListWidget(DWORD style);
    ~CListWidget() override;

    QString controlText() const override { return m_text; }
    void setControlText(const QString& text) override { m_text = text; }

    CListModel* listModel() const { return m_model; }
    CHeaderWidget* headerWidget() const { return m_header; }
    DWORD style() const { return m_style; }
    const LOGFONT& logFont() const { return m_logFont; }
    void setLogFont(const LOGFONT& logFont);
    DWORD extendedStyle() const { return m_exStyle; }
    void setExtendedStyle(DWORD exStyle);
    // Asks the owner of an owner-data list for a text.
    std::string requestText(int row, int subItem) const;
    int rowHeight() const;

private:
    DWORD m_style {0};
    DWORD m_exStyle {0};
    LOGFONT m_logFont;
    QString m_text;
    CListModel* m_model {nullptr};
    CHeaderWidget* m_header {nullptr};
};

// The default font of lists and headers: MS Sans Serif 8 points at 96 dots per inch.
LOGFONT zorListDefaultFont();

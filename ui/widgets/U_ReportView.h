// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QTableView>

class QAction;
class QContextMenuEvent;
class QKeyEvent;
class QMenu;

// Shift+F10, the other key for the context menu beside the Menu key.
bool IsContextMenuKey(const QKeyEvent& event);
// Where the context menu that `event` asks for opens over `view`: at the pointer, or from the
// keyboard below the current row.
QPoint ContextMenuPosition(const QAbstractItemView& view, const QContextMenuEvent& event);

// Every row is this high in the list and the 変更点, whatever the font; the layouts rely on it.
inline constexpr int ReportRowHeight = 17;
void UseReportRowHeight(QTableView& view);

// The program's report view, in the list and in every window beside it: Ctrl+C copies the
// whole selected rows and Ctrl+Shift+C every row with the captions, both also in its context
// menu; Home and End go to the first and the last row, no key takes the selection away, and a
// screen reader hears which cell is current. A cell cut off by its column, or whose tip says
// more than it shows, shows its tip.
class TReportView : public QTableView {
    Q_OBJECT
public:
    explicit TReportView(QWidget* parent = nullptr);

    void reset() override;
    // The window's reload, shown first in the context menu.
    void SetReloadAction(QAction* reload) { reload_ = reload; }
    // Commands that open other windows, shown last in the context menu, below a line, in the
    // order added.
    void AddWindowAction(QAction* action) { windowActions_.append(action); }
    // Ctrl+C puts the captions' line before the selected rows, as Ctrl+Shift+C does, and with
    // no row selected copies the current one; the list's own copies its selected row alone.
    void SetCopiesCaptions(bool copies) { copiesCaptions_ = copies; }
    // Shows `model` as the tables of the windows beside the list do: whole rows chosen, several
    // at once, nothing typed over, no wrapping, no row header, and the copies with captions.
    void ShowRows(QAbstractItemModel* model);
    // The text the copies give a column's caption, when it says more than the header shows.
    virtual QString CopiedCaption(int column) const;

    void CopySelectedRows() const;
    void CopyAllRows() const;
    // Fits each column to its longest text and its caption with the sort arrow. Measuring
    // every cell as Qt's resizeColumnsToContents does would cost opening a table three times
    // over; the longest text of a column by its characters is measured, in bold, as a marked
    // best value is drawn.
    void FitColumnsToContents();
    // The same, but only wider, so that the columns do not jump at a reload.
    void WidenColumnsToContents();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    // Tab-separated lines of `rows`, in the order given, after the captions' line if asked.
    QString TsvText(const QModelIndexList& rows, bool withCaptions) const;
    void ShowContextMenu(const QPoint& globalPosition);
    void ReportCurrentCell();
    bool ShowsWholeText(const QModelIndex& index) const;
    void FitColumns(bool narrower);

    QMenu* contextMenu_ = nullptr; // made on first use
    QAction* reload_ = nullptr;
    QAction* copyRow_ = nullptr; // コピー, greyed with nothing to copy
    QList<QAction*> windowActions_;
    bool copiesCaptions_ = false;
};

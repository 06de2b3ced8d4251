// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QTableView>

class QAction;
class QContextMenuEvent;
class QKeyEvent;
class QMenu;

// What the program's report views share with the horse list.
// Shift+F10, the other key for the context menu beside the Menu key.
bool IsContextMenuKey(const QKeyEvent& event);
// Where the context menu that `event` asks for opens over `view`: at the pointer, or from the
// keyboard below the current row.
QPoint ContextMenuPosition(const QAbstractItemView& view, const QContextMenuEvent& event);
// Tells screen readers that `view`'s current cell has the focus, when the view has it: Qt
// names the table only, not the row that is current in it.
void ReportCurrentCell(QAbstractItemView& view);

// The horse list's view with the list's own keys: Enter asks for the selected horse's detail
// window, F2 edits its caption, Ctrl+C copies the whole selected rows and Ctrl+Shift+C every
// row with the captions; both copies are also in its context menu, below the window's reload.
// Home and End go to the first and the last row, and no key takes the selection away. A cell
// cut off by its column shows its whole text as a tip. The other windows' tables are views of
// this kind too.
class THorseListView : public QTableView {
    Q_OBJECT
public:
    explicit THorseListView(QWidget* parent = nullptr);

    void reset() override;
    // The window's reload, shown first in the context menu.
    void SetReloadAction(QAction* reload) { reload_ = reload; }
    // The window's commands that open other windows, shown last in the context menu, below a
    // line, in the order added.
    void AddWindowAction(QAction* action) { windowActions_.append(action); }
    // Ctrl+C puts the captions' line before the selected rows, as Ctrl+Shift+C does; the list's
    // own copies the rows alone.
    void SetCopiesCaptions(bool copies) { copiesCaptions_ = copies; }
    // A caption is being typed over (F2).
    bool Editing() const { return state() == EditingState; }

signals:
    // Enter on the list, unless it ends the editing of a caption.
    void DetailRequested();
    // The typing over a caption has ended, committed or cancelled.
    void EditingEnded();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void CopySelectedRow() const;
    void CopyAllRows() const;
    // Tab-separated lines of `rows`, in the order given, after the captions' line if asked.
    QString TsvText(const QModelIndexList& rows, bool withCaptions) const;
    void ShowContextMenu(const QPoint& globalPosition);
    void ReportCurrentCell();
    bool ShowsWholeText(const QModelIndex& index) const;

    QMenu* contextMenu_ = nullptr; // made on first use
    QAction* reload_ = nullptr;
    QAction* copyRow_ = nullptr; // コピー, greyed with no row selected
    QList<QAction*> windowActions_;
    bool copiesCaptions_ = false;
};

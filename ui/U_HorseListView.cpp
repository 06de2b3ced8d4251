// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseListView.h"

#include "U_ErrorDisplay.h"
#include "U_HorseRow.h"
#include "U_TextBoxAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Keeps the accessibility bus from hearing about its widget until the widget is shown.
class TQuietUntilShown : public QObject {
public:
    explicit TQuietUntilShown(QWidget* widget) : QObject(widget) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            quiet_.reset();
        return false;
    }

private:
    std::optional<TQuietAccessibility> quiet_{std::in_place};
};

// Names the caption's editor after its column, so that a screen reader says what is typed.
// Qt fills and selects the editor's text before it shows and focuses it; a screen reader that
// hears of those first takes the editor for focused and reads its text alone, without the
// name, so the editor stays quiet until it is shown.
class TCaptionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor != nullptr) {
            new TQuietUntilShown(editor);
            editor->setAccessibleName(
                index.model()->headerData(index.column(), Qt::Horizontal).toString());
        }
        return editor;
    }
};

} // namespace

// The Menu key comes as a context menu event; Shift+F10 is the other key for it.
bool IsContextMenuKey(const QKeyEvent& event) {
    return event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier;
}

QPoint ContextMenuPosition(const QAbstractItemView& view, const QContextMenuEvent& event) {
    if (event.reason() == QContextMenuEvent::Mouse)
        return event.globalPos();
    // From the keyboard the menu opens at the current row rather than at the mouse pointer.
    const QRect current = view.visualRect(view.currentIndex());
    return view.viewport()->mapToGlobal(current.isValid() ? current.bottomLeft() : QPoint());
}

void ReportCurrentCell(QAbstractItemView& view) {
    const QModelIndex current = view.currentIndex();
    if (!view.hasFocus() || !current.isValid() || !QAccessible::isActive())
        return;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&view);
    QAccessibleTableInterface* table = list != nullptr ? list->tableInterface() : nullptr;
    QAccessibleInterface* cell =
        table != nullptr ? table->cellAt(current.row(), current.column()) : nullptr;
    if (cell == nullptr)
        return;
    QAccessibleEvent focus(&view, QAccessible::Focus);
    focus.setChild(list->indexOfChild(cell));
    QAccessible::updateAccessibility(&focus);
}

THorseListView::THorseListView(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new TCaptionDelegate(this));
}

void THorseListView::reset() {
    QTableView::reset();
    // With no current row set since the reset, Qt makes the first row current as soon as the
    // list gets the focus, and the first Down would then select the second horse. Setting none
    // leaves it to the first Down or Space to select the first horse.
    setCurrentIndex({});
}

void THorseListView::keyPressEvent(QKeyEvent* event) {
    // Keys the caption editor leaves unhandled come here as well; those are not the list's.
    if (state() == EditingState) {
        QTableView::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit DetailRequested();
        return;
    }
    // F2 types over the selected row's caption, the one text of a row that can be edited,
    // whichever of the row's cells is current.
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        const QModelIndexList rows = selectionModel()->selectedRows();
        if (!rows.isEmpty()) {
            setCurrentIndex(rows.front());
            edit(rows.front(), EditKeyPressed, event);
        }
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopySelectedRow();
        return;
    }
    if (event->key() == Qt::Key_C &&
        event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        CopyAllRows();
        return;
    }
    if (IsContextMenuKey(*event)) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, {});
        contextMenuEvent(&menu);
        return;
    }
    // Home and End go to the first and the last row, with Ctrl too; Qt's go to the first and
    // the last column, which shows nothing when the row is selected whole.
    if ((event->key() == Qt::Key_Home || event->key() == Qt::Key_End) &&
        (event->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier)) == 0 &&
        model() != nullptr && model()->rowCount(rootIndex()) > 0) {
        const int row = event->key() == Qt::Key_Home ? 0 : model()->rowCount(rootIndex()) - 1;
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        selectionModel()->setCurrentIndex(model()->index(row, column, rootIndex()),
                                          QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
        return;
    }
    // Qt's Space selects the current row only; with none yet it selects the first, as Down does.
    if (event->key() == Qt::Key_Space && !currentIndex().isValid() && model() != nullptr &&
        model()->rowCount(rootIndex()) > 0) {
        setCurrentIndex(model()->index(0, 0, rootIndex()));
        return;
    }
    QTableView::keyPressEvent(event);
}

// Qt deselects a selected row on a key pressed with Ctrl where its style moves the selection
// with the current row (Windows' does: Ctrl+End on the last row, Ctrl+Space); no key of the
// list takes the selection away.
QItemSelectionModel::SelectionFlags THorseListView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (event != nullptr && event->type() == QEvent::KeyPress &&
        (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void THorseListView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    emit EditingEnded();
}

// Several selected rows (the other windows' tables) are copied a line each, top to bottom.
void THorseListView::CopySelectedRow() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QString text = TsvText(rows, copiesCaptions_);
    // The list's own row goes without a line break, as a single cell's text would.
    if (!copiesCaptions_)
        text.chop(1);
    QApplication::clipboard()->setText(text);
}

// The lines stallark-dump prints for the file, captions first: a file's rows go from the list
// to a spreadsheet as they go from the command line.
void THorseListView::CopyAllRows() const {
    QModelIndexList rows;
    for (int row = 0; row < model()->rowCount(rootIndex()); ++row)
        rows << model()->index(row, 0, rootIndex());
    QApplication::clipboard()->setText(TsvText(rows, true));
}

QString THorseListView::TsvText(const QModelIndexList& rows, bool withCaptions) const {
    const int columns = model()->columnCount(rootIndex());
    std::vector<std::string> texts(static_cast<std::size_t>(columns));
    std::string lines;
    if (withCaptions) {
        for (int column = 0; column < columns; ++column)
            texts[column] = model()->headerData(column, Qt::Horizontal).toString().toStdString();
        AppendTsvLine(lines, texts);
    }
    for (const QModelIndex& row : rows) {
        for (int column = 0; column < columns; ++column)
            texts[column] = row.siblingAtColumn(column).data().toString().toStdString();
        AppendTsvLine(lines, texts);
    }
    return QString::fromStdString(lines);
}

void THorseListView::contextMenuEvent(QContextMenuEvent* event) {
    ShowContextMenu(ContextMenuPosition(*this, *event));
    event->accept();
}

void THorseListView::ShowContextMenu(const QPoint& globalPosition) {
    if (contextMenu_ == nullptr) {
        contextMenu_ = new QMenu(this);
        auto add = [this](const char* text, const QKeySequence& keys,
                          void (THorseListView::*copy)() const) {
            QAction* action = contextMenu_->addAction(QString::fromUtf8(text));
            // The keys are the list's own (keyPressEvent); the menu only shows them.
            action->setShortcut(keys);
            action->setShortcutVisibleInContextMenu(true);
            connect(action, &QAction::triggered, this,
                    [this, copy] { RunHandler(this, [this, copy] { (this->*copy)(); }); });
            return action;
        };
        if (reload_ != nullptr) {
            reload_->setShortcutVisibleInContextMenu(true);
            contextMenu_->addAction(reload_);
        }
        copyRow_ = add("コピー(&C)", QKeySequence::Copy, &THorseListView::CopySelectedRow);
        add("すべての行をコピー(&A)", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
            &THorseListView::CopyAllRows);
        if (!windowActions_.isEmpty())
            contextMenu_->addSeparator();
        for (QAction* action : windowActions_) {
            action->setShortcutVisibleInContextMenu(true);
            contextMenu_->addAction(action);
        }
    }
    copyRow_->setEnabled(!selectionModel()->selectedRows().isEmpty());
    contextMenu_->popup(globalPosition);
}

void THorseListView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    // Qt reports the list itself as focused once this returns, and a screen reader then names
    // the table but not the row that is current in it: after the detail window closes, or
    // after a typed ID is committed. The current cell is reported focused right after.
    QMetaObject::invokeMethod(this, &THorseListView::ReportCurrentCell, Qt::QueuedConnection);
}

void THorseListView::ReportCurrentCell() {
    ::ReportCurrentCell(*this);
}

bool THorseListView::ShowsWholeText(const QModelIndex& index) const {
    // Qt's styles draw a cell's text inside the cell less a margin on either side, and cut it
    // off when its exact, fractional width is the greater.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return QFontMetricsF(font()).horizontalAdvance(index.data().toString()) <=
           visualRect(index).width() - 2 * margin;
}

bool THorseListView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const QModelIndex index = indexAt(static_cast<QHelpEvent*>(event)->pos());
        if (!index.isValid() || ShowsWholeText(index)) {
            QToolTip::hideText();
            return true;
        }
    }
    return QTableView::viewportEvent(event);
}

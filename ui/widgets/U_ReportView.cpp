// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ReportView.h"

#include "U_ErrorDisplay.h"
#include "U_HorseRow.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <string>
#include <vector>

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

void UseReportRowHeight(QTableView& view) {
    QHeaderView* rows = view.verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    // A style's least row height follows the font (Windows' adds the header's margins to it),
    // and would otherwise win over the rows' own height.
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(ReportRowHeight);
}

TReportView::TReportView(QWidget* parent) : QTableView(parent) {
    // Tab leaves the table for the window's other controls.
    setTabKeyNavigation(false);
}

void TReportView::reset() {
    QTableView::reset();
    // With no current row set since the reset, Qt makes the first row current as soon as the
    // view gets the focus, and the first Down would then select the second row. Setting none
    // leaves it to the first Down or Space to select the first row.
    setCurrentIndex({});
}

void TReportView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelectedRows();
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
// with the current row (Windows' does: Ctrl+End on the last row, Ctrl+Space); no key of a
// report view takes the selection away.
QItemSelectionModel::SelectionFlags TReportView::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (event != nullptr && event->type() == QEvent::KeyPress &&
        (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return QItemSelectionModel::NoUpdate;
    return command;
}

// Several selected rows are copied a line each, top to bottom.
void TReportView::CopySelectedRows() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty() && copiesCaptions_ && currentIndex().isValid())
        rows << currentIndex().siblingAtColumn(0);
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QString text = TsvText(rows, copiesCaptions_);
    // The list's own row goes without a line break, as a single cell's text would.
    if (!copiesCaptions_)
        text.chop(1);
    QApplication::clipboard()->setText(text);
}

// Every row, captions first: the list's rows go to a spreadsheet as stallark-dump prints them.
void TReportView::CopyAllRows() const {
    QModelIndexList rows;
    for (int row = 0; row < model()->rowCount(rootIndex()); ++row)
        rows << model()->index(row, 0, rootIndex());
    QApplication::clipboard()->setText(TsvText(rows, true));
}

void TReportView::ShowRows(QAbstractItemModel* model) {
    setModel(model);
    SetCopiesCaptions(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
}

void TReportView::FitColumnsToContents() {
    FitColumns(true);
}

void TReportView::WidenColumnsToContents() {
    FitColumns(false);
}

void TReportView::FitColumns(bool narrower) {
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // The margins Qt's styles leave on either side of a cell's text, and a little room.
    const int margins =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 4;
    const int rows = model()->rowCount(rootIndex());
    for (int column = 0; column < model()->columnCount(rootIndex()); ++column) {
        QString longest;
        for (int row = 0; row < rows; ++row)
            if (const QString text = model()->index(row, column, rootIndex()).data().toString();
                text.size() > longest.size())
                longest = text;
        const int width = std::max(metrics.horizontalAdvance(longest) + margins,
                                   horizontalHeader()->sectionSizeHint(column));
        if (narrower || width > columnWidth(column))
            setColumnWidth(column, width);
    }
}

QString TReportView::CopiedCaption(int column) const {
    return model()->headerData(column, Qt::Horizontal).toString();
}

QString TReportView::TsvText(const QModelIndexList& rows, bool withCaptions) const {
    const int columns = model()->columnCount(rootIndex());
    std::vector<std::string> texts(static_cast<std::size_t>(columns));
    std::string lines;
    if (withCaptions) {
        for (int column = 0; column < columns; ++column)
            texts[column] = CopiedCaption(column).toStdString();
        AppendTsvLine(lines, texts);
    }
    for (const QModelIndex& row : rows) {
        for (int column = 0; column < columns; ++column)
            texts[column] = row.siblingAtColumn(column).data().toString().toStdString();
        AppendTsvLine(lines, texts);
    }
    return QString::fromStdString(lines);
}

void TReportView::contextMenuEvent(QContextMenuEvent* event) {
    ShowContextMenu(ContextMenuPosition(*this, *event));
    event->accept();
}

void TReportView::ShowContextMenu(const QPoint& globalPosition) {
    if (contextMenu_ == nullptr) {
        contextMenu_ = new QMenu(this);
        auto add = [this](const char* text, const QKeySequence& keys,
                          void (TReportView::*copy)() const) {
            QAction* action = contextMenu_->addAction(QString::fromUtf8(text));
            // The keys are the view's own (keyPressEvent); the menu only shows them.
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
        copyRow_ = add("コピー(&C)", QKeySequence::Copy, &TReportView::CopySelectedRows);
        add("すべての行をコピー(&A)", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
            &TReportView::CopyAllRows);
        if (!windowActions_.isEmpty())
            contextMenu_->addSeparator();
        for (QAction* action : windowActions_) {
            action->setShortcutVisibleInContextMenu(true);
            contextMenu_->addAction(action);
        }
    }
    copyRow_->setEnabled(!selectionModel()->selectedRows().isEmpty() ||
                         (copiesCaptions_ && currentIndex().isValid()));
    contextMenu_->popup(globalPosition);
}

void TReportView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    // Qt reports the view itself as focused once this returns, and a screen reader then names
    // the table but not the row that is current in it: after a dialog closes, or after a typed
    // ID is committed. The current cell is reported focused right after.
    QMetaObject::invokeMethod(this, &TReportView::ReportCurrentCell, Qt::QueuedConnection);
}

// Qt names the table only, not the row that is current in it.
void TReportView::ReportCurrentCell() {
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid() || !QAccessible::isActive())
        return;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* table = list != nullptr ? list->tableInterface() : nullptr;
    QAccessibleInterface* cell =
        table != nullptr ? table->cellAt(current.row(), current.column()) : nullptr;
    if (cell == nullptr)
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(list->indexOfChild(cell));
    QAccessible::updateAccessibility(&focus);
}

bool TReportView::ShowsWholeText(const QModelIndex& index) const {
    // Qt's styles draw a cell's text inside the cell less a margin on either side, and cut it
    // off when its exact, fractional width is the greater.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return QFontMetricsF(font()).horizontalAdvance(index.data().toString()) <=
           visualRect(index).width() - 2 * margin;
}

bool TReportView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const QModelIndex index = indexAt(static_cast<QHelpEvent*>(event)->pos());
        const QVariant tip = index.data(Qt::ToolTipRole);
        const bool saysMore = tip.isValid() && tip.toString() != index.data().toString();
        if (!index.isValid() || (ShowsWholeText(index) && !saysMore)) {
            QToolTip::hideText();
            return true;
        }
    }
    return QTableView::viewportEvent(event);
}

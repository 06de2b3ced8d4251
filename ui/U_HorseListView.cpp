// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseListView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QToolTip>

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
    // Qt's Space selects the current row only; with none yet it selects the first, as Down does.
    if (event->key() == Qt::Key_Space && !currentIndex().isValid() && model() != nullptr &&
        model()->rowCount(rootIndex()) > 0) {
        setCurrentIndex(model()->index(0, 0, rootIndex()));
        return;
    }
    QTableView::keyPressEvent(event);
}

void THorseListView::CopySelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    QStringList texts;
    for (int column = 0; column < model()->columnCount(rootIndex()); ++column)
        texts << rows.front().siblingAtColumn(column).data().toString();
    QApplication::clipboard()->setText(texts.join('\t'));
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

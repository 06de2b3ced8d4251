// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseListView.h"

#include "U_TextBoxAccessible.h"

#include <QKeyEvent>
#include <QStyledItemDelegate>

#include <optional>

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

THorseListView::THorseListView(QWidget* parent) : TReportView(parent) {
    setItemDelegate(new TCaptionDelegate(this));
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
    TReportView::keyPressEvent(event);
}

void THorseListView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    emit EditingEnded();
}

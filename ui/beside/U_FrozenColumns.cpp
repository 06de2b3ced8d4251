// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_FrozenColumns.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <utility>

TFrozenColumns::TFrozenColumns(QTableView& view, int count,
                               std::function<void(int column)> headerClicked)
    : QObject(&view), view_(view), count_(count), headerClicked_(std::move(headerClicked)) {
    connect(view.horizontalScrollBar(), &QScrollBar::valueChanged, this, &TFrozenColumns::Scrolled);
}

void TFrozenColumns::Scrolled(int across) {
    if (frozen_ == nullptr && across > 0)
        Make();
    if (frozen_ != nullptr)
        frozen_->setVisible(across > 0);
}

void TFrozenColumns::Make() {
    QTableView& view = view_;
    frozen_ = new QTableView(&view);
    frozen_->setObjectName("FrozenColumns");
    frozen_->setModel(view.model());
    frozen_->setSelectionModel(view.selectionModel());
    frozen_->setFocusPolicy(Qt::NoFocus);
    // The table scrolls to the current cell; the columns follow it.
    frozen_->setAutoScroll(false);
    frozen_->setSelectionBehavior(view.selectionBehavior());
    frozen_->setSelectionMode(view.selectionMode());
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->setWordWrap(view.wordWrap());
    frozen_->verticalHeader()->hide();
    frozen_->verticalHeader()->setMinimumSectionSize(view.verticalHeader()->minimumSectionSize());
    frozen_->verticalHeader()->setDefaultSectionSize(view.verticalHeader()->defaultSectionSize());
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setFrameShape(QFrame::NoFrame);
    QHeaderView* header = frozen_->horizontalHeader();
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(view.horizontalHeader()->isSortIndicatorShown());
    header->setSortIndicator(view.horizontalHeader()->sortIndicatorSection(),
                             view.horizontalHeader()->sortIndicatorOrder());

    connect(view.horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                if (column < count_) {
                    frozen_->setColumnWidth(column, width);
                    Place();
                }
            });
    connect(view.horizontalHeader(), &QHeaderView::sortIndicatorChanged, header,
            &QHeaderView::setSortIndicator);
    connect(view.verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, view.verticalScrollBar(),
            &QScrollBar::setValue);
    connect(frozen_, &QTableView::doubleClicked, &view, &QTableView::doubleClicked);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { headerClicked_(column); });
    connect(view.model(), &QAbstractItemModel::modelReset, this, &TFrozenColumns::ShowOnlyFrozen);
    connect(view.model(), &QAbstractItemModel::columnsInserted, this,
            &TFrozenColumns::ShowOnlyFrozen);
    connect(view.model(), &QAbstractItemModel::columnsRemoved, this,
            &TFrozenColumns::ShowOnlyFrozen);
    view.installEventFilter(this);
    view.viewport()->installEventFilter(this);
    view.horizontalHeader()->installEventFilter(this);
    ShowOnlyFrozen();
}

// Over the table's left edge, below its frame, as wide as the frozen columns.
void TFrozenColumns::Place() {
    int width = 0;
    for (int column = 0; column < count_; ++column)
        width += view_.columnWidth(column);
    const int frame = view_.frameWidth();
    // Row for row level with the table: its header as high as the table's.
    frozen_->horizontalHeader()->setFixedHeight(view_.horizontalHeader()->height());
    frozen_->setGeometry(view_.verticalHeader()->width() + frame, frame, width,
                         view_.viewport()->height() + view_.horizontalHeader()->height());
    frozen_->verticalScrollBar()->setValue(view_.verticalScrollBar()->value());
}

void TFrozenColumns::ShowOnlyFrozen() {
    for (int column = 0; column < frozen_->model()->columnCount(); ++column) {
        frozen_->setColumnHidden(column, column >= count_);
        if (column < count_)
            frozen_->setColumnWidth(column, view_.columnWidth(column));
    }
    Place();
}

bool TFrozenColumns::eventFilter(QObject* watched, QEvent* event) {
    if (frozen_ != nullptr && event->type() == QEvent::Resize &&
        (watched == &view_ || watched == view_.viewport() || watched == view_.horizontalHeader()))
        Place();
    return QObject::eventFilter(watched, event);
}

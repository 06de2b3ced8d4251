// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_ReportView.h"

// The horse list's view: a report view with the list's own keys. Enter asks for the selected
// horse's detail window and F2 types over its caption.
class THorseListView : public TReportView {
    Q_OBJECT
public:
    explicit THorseListView(QWidget* parent = nullptr);

    // A caption is being typed over (F2).
    bool Editing() const { return state() == EditingState; }

signals:
    // Enter on the list, unless it ends the editing of a caption.
    void DetailRequested();
    // The typing over a caption has ended, committed or cancelled.
    void EditingEnded();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
};

// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_OpenDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QTreeView>

namespace {

// Wide enough for every column of the dialog's file list.
const QSize FirstSize(720, 440);

// Enter on a typed name closes the open dialog under its completion list, which then stays on
// screen holding the keyboard and swallowing the next click. While it is open Qt also ignores
// the window manager's activation of the main window, so it is closed as soon as a name is
// chosen, before the dialog goes: otherwise the main window stays inactive, the hidden name
// box keeps the focus, and a screen reader hears nothing of the list.
void HideCompletionList() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowType() == Qt::Popup && window->isVisible())
            window->hide();
}

QFileDialog* MakeDialog(QWidget* owner) {
    auto* dialog = new QFileDialog(owner);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::AnyFile); // a typed missing name reaches the load
    dialog->setObjectName("OpenDialog");
    // The file list's size, type and date columns take the width of their texts, which the
    // dialog's own fixed widths clip in the program's font. "treeView" and "fileNameEdit" (in
    // Run) are the private names of Qt's own dialog's children: only where Qt's own dialog is
    // shown do they exist; where the platform's is (GTK's under GNOME) Qt makes no widgets, both
    // find nothing, and that dialog stays as it is. The OpenDialog tests of MainWindowTest.cpp
    // fail when Qt renames them.
    if (auto* files = dialog->findChild<QTreeView*>("treeView"))
        for (int column = 1; column < files->header()->count(); ++column)
            files->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    dialog->resize(FirstSize);
    QObject::connect(dialog, &QFileDialog::filesSelected, dialog, &HideCompletionList);
    return dialog;
}

} // namespace

struct TOpenDialog::TPlatformDialog {
    QWidget* Owner;
    QPointer<QFileDialog> Dialog{}; // made on first use, a child of the owner
};

TOpenDialog::TOpenDialog(QWidget* owner) : dialog_(new TPlatformDialog{owner}) {}

TOpenDialog::~TOpenDialog() = default;

std::optional<QString> TOpenDialog::Run() {
    if (dialog_->Dialog.isNull())
        dialog_->Dialog = MakeDialog(dialog_->Owner);
    QFileDialog* dialog = dialog_->Dialog;
    // The kept name is offered focused and selected, so that typing a new one replaces it,
    // however the dialog was closed the last time. (Qt's own dialog only: see MakeDialog.)
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) {
        name->setFocus(Qt::OtherFocusReason);
        name->selectAll();
    }
    const bool chosen = dialog->exec() == QDialog::Accepted;
    HideCompletionList();
    if (!chosen || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    const QString file = dialog->selectedFiles().front();
    // The next showing opens in the chosen file's folder, with its name offered; a typed path
    // would otherwise leave the dialog in the folder it showed.
    dialog->selectFile(file);
    return file;
}

// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <memory>
#include <optional>

class QWidget;

// The platform's standard open-file dialog, modal over its owner: no filter and no title of
// its own; a typed name of a missing file is returned like any other, for the load to report.
// It keeps the last chosen file between uses: the next showing opens in that file's folder
// with its name offered. It keeps nothing once the program ends, in a file or in the registry.
// Each platform has its own file: U_OpenDialogQt.cpp (Qt's dialog), U_OpenDialogWin32.cpp (the
// system's dialog; Qt's would write its state into the registry when it goes).
class TOpenDialog {
public:
    explicit TOpenDialog(QWidget* owner);
    ~TOpenDialog();
    TOpenDialog(const TOpenDialog&) = delete;
    TOpenDialog& operator=(const TOpenDialog&) = delete;

    // The chosen file's full path, or nothing when the user cancels.
    std::optional<QString> Run();

private:
    struct TPlatformDialog;
    std::unique_ptr<TPlatformDialog> dialog_;
};

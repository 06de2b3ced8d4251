// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_OpenDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include <shobjidl.h>
#include <windows.h>

#include <stdexcept>

// The system's own open dialog, shown straight from here rather than through Qt's file dialog:
// Qt's saves its folder and history into the registry when it goes, and leaves its owner
// disabled at the moment the system's dialog closes, so that Windows cannot give the main
// window back its activation.

namespace {

// Holds one COM interface and releases it on every path out.
template <class Interface> class TComPtr {
public:
    TComPtr() = default;
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    ~TComPtr() {
        if (pointer_ != nullptr)
            pointer_->Release();
    }
    Interface** Receive() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

void Check(HRESULT result) {
    if (FAILED(result))
        throw std::runtime_error(
            "ファイルを開くダイアログを表示できません (HRESULT 0x" +
            QString::number(static_cast<unsigned long>(result), 16).toStdString() + ")");
}

std::wstring Wide(const QString& text) {
    return QDir::toNativeSeparators(text).toStdWString();
}

// The folder the dialog first shows: the last chosen file's, else the working folder, where
// Qt's dialog opened too.
void ShowFolder(IFileOpenDialog* dialog, const QString& lastFile) {
    const QString folder =
        lastFile.isEmpty() ? QDir::currentPath() : QFileInfo(lastFile).absolutePath();
    TComPtr<IShellItem> item;
    // A folder that has gone since leaves the dialog to choose its own.
    if (SUCCEEDED(SHCreateItemFromParsingName(Wide(folder).c_str(), nullptr,
                                              IID_PPV_ARGS(item.Receive()))))
        dialog->SetFolder(item.Get());
}

QString ChosenPath(IFileOpenDialog* dialog) {
    TComPtr<IShellItem> item;
    Check(dialog->GetResult(item.Receive()));
    PWSTR path = nullptr;
    Check(item->GetDisplayName(SIGDN_FILESYSPATH, &path));
    const QString chosen = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return chosen;
}

} // namespace

struct TOpenDialog::TPlatformDialog {
    QWidget* Owner;
    QString LastFile; // empty until a file is chosen
};

TOpenDialog::TOpenDialog(QWidget* owner) : dialog_(new TPlatformDialog{owner, {}}) {}

TOpenDialog::~TOpenDialog() = default;

std::optional<QString> TOpenDialog::Run() {
    TComPtr<IFileOpenDialog> dialog;
    Check(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                           IID_PPV_ARGS(dialog.Receive())));
    FILEOPENDIALOGOPTIONS options = 0;
    Check(dialog->GetOptions(&options));
    // A typed name of a missing file is the load's to report; the working folder stays.
    Check(
        dialog->SetOptions((options & ~FOS_FILEMUSTEXIST) | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR));
    ShowFolder(dialog.Get(), dialog_->LastFile);
    if (!dialog_->LastFile.isEmpty())
        Check(dialog->SetFileName(Wide(QFileInfo(dialog_->LastFile).fileName()).c_str()));

    // Modal over the main window, which the dialog disables while it is up and activates again
    // as it closes.
    const auto owner = reinterpret_cast<HWND>(dialog_->Owner->window()->winId());
    const HRESULT shown = dialog->Show(owner);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return std::nullopt;
    Check(shown);
    dialog_->LastFile = ChosenPath(dialog.Get());
    return dialog_->LastFile;
}

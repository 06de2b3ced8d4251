// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QDialog>

#include <memory>

namespace Ui {
class DetailWindow;
}

// The background of every box, whatever the theme.
extern const QColor DisplayBoxBackground;

// Shows one horse of the horse table box by box. Made anew for every request and filled when
// shown, so its list boxes always start empty.
class TDetailWindow : public QDialog {
    Q_OBJECT
public:
    explicit TDetailWindow(QWidget* parent = nullptr);
    ~TDetailWindow() override;

    int HorseIndex = 0; // 0..63, set before the dialog is shown

    void FillDetail();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void Button1Click();
    void ShowStartOfTexts();

    std::unique_ptr<Ui::DetailWindow> ui;
};

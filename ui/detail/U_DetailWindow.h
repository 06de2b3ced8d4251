// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QDialog>

#include <memory>

class TFileFollower;

namespace Ui {
class DetailWindow;
}

// The background of every box, whatever the theme.
extern const QColor DisplayBoxBackground;

// Shows one horse of the horse table box by box. Made anew for every request, filled when
// shown and again, while open, whenever the table holds a new version of the file.
class TDetailWindow : public QDialog {
    Q_OBJECT
public:
    explicit TDetailWindow(QWidget* parent = nullptr);
    ~TDetailWindow() override;

    int HorseIndex = 0; // 0..63, set before the dialog is shown

    // Shows the horse as the table holds it now.
    void FillDetail();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void Button1Click();

    std::unique_ptr<Ui::DetailWindow> ui;
};

// Shows horse `slot` in a modal detail window over `parent` until it is closed; while it is
// open, the window shows its horse as each version `follower` publishes has it. The list and
// the windows beside it all show a horse this way.
void ShowDetailWindow(int slot, QWidget& parent, TFileFollower& follower);

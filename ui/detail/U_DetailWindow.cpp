// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_DetailWindow.h"

#include "ui_U_DetailWindow.h"

#include "U_Analyze.h"
#include "U_ErrorDisplay.h"
#include "U_FileFollower.h"
#include "U_HorseStatus.h"
#include "U_TextBoxAccessible.h"

#include <QKeyEvent>

namespace {

// Here, not in the layout: uic takes a window's size from its layout, never its position.
const QPoint FirstPosition(293, 151);

QString Decimal(std::int32_t value) {
    return QString::number(value);
}

QStringList AbilityNames(const std::array<std::int32_t, AbilitySlotCount>& codes,
                         std::string (*nameOf)(unsigned)) {
    QStringList names;
    for (const std::int32_t code : codes)
        if (code != 0)
            names << QString::fromStdString(nameOf(static_cast<unsigned>(code)));
    return names;
}

// A set text leaves the cursor at its end, which scrolls a long name to its tail.
void ShowText(QLineEdit* box, const QString& text) {
    if (box->text() == text)
        return;
    box->setText(text);
    box->setCursorPosition(0);
}

void ShowLines(QListWidget* list, const QStringList& lines) {
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    if (shown == lines)
        return;
    list->clear();
    list->addItems(lines);
}

} // namespace

// The classic desktop's inactive-caption-text colour; Qt has no role for it. Black text
// stays readable on it.
const QColor DisplayBoxBackground(212, 208, 200);

TDetailWindow::TDetailWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint), // no sizing frame on Windows
      ui(std::make_unique<Ui::DetailWindow>()) {
    ui->setupUi(this);
    setFixedSize(size());
    move(FirstPosition); // not centred on the main window

    // The text colour is fixed with the background: a dark theme's light text on the light
    // grey could not be read.
    QPalette boxes = palette();
    boxes.setColor(QPalette::Base, DisplayBoxBackground);
    boxes.setColor(QPalette::Text, Qt::black);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setPalette(boxes);
    for (QListWidget* list : findChildren<QListWidget*>())
        list->setPalette(boxes);

    connect(ui->Button1, &QPushButton::clicked, this,
            [this] { RunHandler(this, [this] { Button1Click(); }); });
    ui->E_HorseName->setFocus();
}

TDetailWindow::~TDetailWindow() = default;

void TDetailWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunHandler(this, [this] { FormShow(); });
}

void TDetailWindow::keyPressEvent(QKeyEvent* event) {
    // 閉じる is not the cancel button: Esc leaves the dialog open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    // Nor is it the default button, so Enter in a box does nothing; but a focused push button
    // is pressed by Enter as by Space, and Qt leaves that to default buttons only.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && ui->Button1->hasFocus()) {
        ui->Button1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TDetailWindow::FormShow() {
    const TQuietAccessibility quiet; // the dialog is announced once shown, with its boxes full
    FillDetail();
    // Every box, the fixed ones too, opens showing the start of its text.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->setCursorPosition(0);
    // The name opens with the focus and selected, the selection ending at its start.
    const qsizetype length = ui->E_HorseName->text().size();
    ui->E_HorseName->setSelection(static_cast<int>(length), -static_cast<int>(length));
}

void TDetailWindow::Button1Click() {
    close();
}

// Also again while the window is open, for each version of the file the list comes to show:
// only the boxes whose text changes are set, so that the others keep their cursor and selection.
void TDetailWindow::FillDetail() {
    const TDM_HorseStatus& table = *DM_HorseStatus;
    const int i = HorseIndex;
    ShowText(ui->E_HorseName, QString::fromStdString(table.HorseName[i]));
    // Each ability's box is named after its column: E_Speed for Speed.
    for (const BasicAbilityField& field : BasicAbilityFields)
        ShowText(findChild<QLineEdit*>(QStringLiteral("E_") + field.Key),
                 Decimal((table.*field.Column)[i]));
    ShowLines(ui->LB_ExeAbility, AbilityNames(table.ExeAbilities(i), &TDM_Analyze::ExeAbilityName));
    ShowLines(ui->LB_EqpAbility, AbilityNames(table.EqpAbilities(i), &TDM_Analyze::EqpAbilityName));
    ShowText(ui->E_LowerDistance, Decimal(table.LowerDistance[i]));
    ShowText(ui->E_UpperDistance, Decimal(table.UpperDistance[i]));
    ShowText(ui->E_FatherName, QString::fromStdString(table.FatherName[i]));
    ShowText(ui->E_MotherName, QString::fromStdString(table.MotherName[i]));
}

void ShowDetailWindow(int slot, QWidget& parent, TFileFollower& follower) {
    TDetailWindow dialog(&parent);
    dialog.HorseIndex = slot;
    QObject::connect(&follower, &TFileFollower::VersionShown, &dialog,
                     [&dialog] { RunHandler(&dialog, [&dialog] { dialog.FillDetail(); }); });
    dialog.exec();
}

// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessible>

// Makes a screen reader read every single-line box of the program whole. Qt describes a
// QLineEdit's text to the accessibility bus as runs of no characters ("attributes from 3 to
// 3"); a reader that splits the text by those runs, as Orca does to pick a voice, stops one
// character before the end and says "14" for 144. The program's boxes answer with one run
// over the whole text instead. Called once, after the application object is made.
void UseWholeTextBoxes();

// Keeps the accessibility bus from hearing about the changes made while it lives. A dialog
// filled as it is being shown would otherwise have its boxes' new texts and selection read
// out before the dialog itself is announced, and the name alone heard in place of the dialog.
class TQuietAccessibility {
public:
    TQuietAccessibility();
    ~TQuietAccessibility();
    TQuietAccessibility(const TQuietAccessibility&) = delete;
    TQuietAccessibility& operator=(const TQuietAccessibility&) = delete;

private:
    QAccessible::UpdateHandler previous_;
};

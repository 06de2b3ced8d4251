// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "TestFiles.h"
#include "U_FileAccess.h"
#include "U_Startup.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QList>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class QAbstractItemView;
class QMessageBox;

// Lets failures show Qt texts readably.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{' << texts.join(", ").toStdString() << '}';
}
inline void PrintTo(const QWidget* widget, std::ostream* out) {
    *out << (widget ? widget->metaObject()->className() + std::string(" ") +
                          widget->objectName().toStdString()
                    : std::string("no widget"));
}

// Stands in for the error box while it lives: every box the program makes is recorded instead
// of shown, so that a test states the messages it expects and none waits for a person.
class ErrorBoxRecorder {
public:
    struct Box {
        QString Title;
        QString Text;
        int Icon;
        int Buttons;
    };
    ErrorBoxRecorder();
    ~ErrorBoxRecorder();
    ErrorBoxRecorder(const ErrorBoxRecorder&) = delete;
    ErrorBoxRecorder& operator=(const ErrorBoxRecorder&) = delete;

    // The boxes made since the last call, and their texts alone.
    QList<Box> TakeBoxes();
    QStringList TakeTexts();

private:
    QList<Box> boxes_;
    std::function<void(QMessageBox&)> previous_;
};

// The running program as start-up builds it (TViewer), its main window shown and active; the
// one fixture of every test that goes through the windows.
// Every error box it would show is recorded in errorBoxes; one that the test did not take
// fails it.
class ViewerTest : public ::testing::Test {
protected:
    ViewerTest();
    void TearDown() override;

    QTableView* List() const;
    int RowCount() const;
    QString Cell(int row, int column) const;
    template <typename T> T* Control(const char* name) const {
        T* control = form->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    // Loads `path` the way the user does: ファイルを開く in the menu, the path from the dialog.
    void OpenThroughMenu(const QString& path);
    // Writes a file of the first recognised size holding `block`.
    QString WriteFile(const std::string& name, const HorseBlock& block);

    TempDir dir;
    TViewer viewer;
    const QPointer<TMainForm> form{&viewer.MainWindow()};
    TDM_HorseStatus& horseStatus = viewer.DataModules().HorseStatus;
    ErrorBoxRecorder errorBoxes;
};

// Runs `handle` on the first window of class `className` that is shown after the call, from
// inside that window's own event loop once it is running, so a test never waits for a person or
// on the clock. The handler must close it.
class ModalHandler : public QObject {
public:
    ModalHandler(const char* className, std::function<void(QWidget*)> handle);
    bool Handled() const { return handled_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const char* className_;
    std::function<void(QWidget*)> handle_;
    bool shown_ = false;
    bool handled_ = false;
};

// The texts of every row of a list, row by row.
QList<QStringList> ListTexts(const QAbstractItemView* list);

// A horse with a value in every field that the list or the detail window shows.
HorseRecordFields SampleHorse();
// SampleHorse at each of `indexes`, its スピード 30 + the index to tell the rows apart.
HorseBlock SampleHorsesAt(const std::vector<int>& indexes);
// The texts of the list row of SampleHorsesAt's horse at `index`, written out by hand.
QStringList SampleRowTexts(int index);

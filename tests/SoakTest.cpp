// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Soak: one viewer, many loads and detail windows in one process. The rows must always be those
// of the last good file and nothing may pile up: no window, no object of the main window's.
// By default 500 loads and 100 windows, in both builds: LeakSanitizer, in the sanitizer build,
// is the check for leaks, which needs no long run. STALLARK_SOAK_LOADS and STALLARK_SOAK_WINDOWS
// set longer runs; resident memory is reported, to be compared by a person across such runs.
#include "TestFiles.h"
#include "U_DetailWindow.h"
#include "ViewerFixture.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>

namespace {

constexpr int DefaultLoads = 500;
constexpr int DefaultWindows = 100;

int CountFromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

// Resident memory of this process in KiB.
long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

// The horses of a file at `indexes`, ascending, and the rows they must give, written out by hand
// so that a decoding fault shows.
struct Stable {
    HorseBlock Block;
    QList<QStringList> Rows;
};
Stable StableAt(const std::vector<int>& indexes) {
    Stable stable{SampleHorsesAt(indexes), {}};
    for (const int index : indexes)
        stable.Rows << SampleRowTexts(index);
    return stable;
}

using Soak = ViewerTest;

} // namespace

TEST_F(Soak, LoadsAndDetailWindowsKeepTheRowsAndTheMemory) {
    const int loads = CountFromEnvironment("STALLARK_SOAK_LOADS", DefaultLoads);
    const int windows = CountFromEnvironment("STALLARK_SOAK_WINDOWS", DefaultWindows);
    const auto started = std::chrono::steady_clock::now();

    std::vector<int> indexesA, indexesB;
    for (int n = 0; n < 20; ++n)
        indexesA.push_back(3 * n);
    for (int n = 0; n < 9; ++n)
        indexesB.push_back(3 * n + 1);
    const Stable stableA = StableAt(indexesA);
    const Stable stableB = StableAt(indexesB);
    const std::string goodA = dir.File("a.dat");
    const std::string goodB = dir.File("b.dat");
    const std::string wrongSize = dir.File("wrong.dat");
    const std::string missing = dir.File("missing.dat");
    WriteHorseFile(goodA, HorseFileLayouts[0].FileSize, stableA.Block);
    WriteHorseFile(goodB, HorseFileLayouts[2].FileSize, stableB.Block);
    WriteBytes(wrongSize, std::vector<std::uint8_t>(HorseFileLayouts[1].FileSize - 1, 1));
    const QList<QStringList>& rowsA = stableA.Rows;
    const QList<QStringList>& rowsB = stableB.Rows;

    TMainForm& form = *this->form;
    QTableView* list = List();
    auto* button = form.findChild<QPushButton*>("Button1");
    ASSERT_NE(button, nullptr);
    const qsizetype topLevelWidgets = QApplication::topLevelWidgets().size();
    const auto objects = [&form] { return form.findChildren<QObject*>().size(); };

    // Good A, wrong size, missing, good B, wrong size, missing, ...
    int loadFailures = 0;
    auto load = [&](int n) {
        const std::string* paths[] = {&goodA, &wrongSize, &missing, &goodB, &wrongSize, &missing};
        const std::string& path = *paths[n % 6];
        try {
            form.LoadHorseFile(QString::fromStdString(path));
            if (&path == &missing)
                ++loadFailures;
        } catch (const EInOutError& error) {
            if (&path != &missing || error.what() != std::string("ファイルが見つかりません"))
                ++loadFailures;
        }
        const QList<QStringList>& expected = n % 6 < 3 ? rowsA : rowsB;
        if (ListTexts(list) != expected)
            ++loadFailures;
    };

    // Opens the detail window of a row through the real button and closes it from inside its
    // own event loop; the window must show that row's horse, told apart by its スピード.
    int windowFailures = 0;
    auto showDetail = [&](int row) {
        list->selectRow(row);
        QString shown;
        bool closed = false;
        const ModalHandler close("TDetailWindow", [&](QWidget* detail) {
            shown = detail->findChild<QLineEdit*>("E_Speed")->text();
            closed = detail->close();
        });
        button->click();
        if (!closed || shown != QString::number(30 + Cell(row, 0).toInt()) ||
            !form.findChildren<TDetailWindow*>().isEmpty() ||
            QApplication::topLevelWidgets().size() != topLevelWidgets)
            ++windowFailures;
    };

    // Warm-up: the first uses fill caches and pools that then stay.
    for (int n = 0; n < 60; ++n)
        load(n);
    form.LoadHorseFile(QString::fromStdString(goodA));
    for (int n = 0; n < 30; ++n)
        showDetail(n % RowCount());
    QApplication::processEvents();
    ASSERT_EQ(loadFailures, 0);
    ASSERT_EQ(windowFailures, 0);
    const long rssBefore = ResidentKiB();
    const qsizetype objectsBefore = objects();

    for (int n = 0; n < loads; ++n)
        load(n);
    form.LoadHorseFile(QString::fromStdString(goodA));
    for (int n = 0; n < windows; ++n)
        showDetail(n % RowCount());
    QApplication::processEvents();
    const long rssAfter = ResidentKiB();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    EXPECT_EQ(loadFailures, 0) << "loads whose outcome or rows were wrong";
    EXPECT_EQ(windowFailures, 0) << "detail windows that were wrong or stayed";
    EXPECT_EQ(ListTexts(list), rowsA);
    EXPECT_EQ(objects(), objectsBefore) << "objects of the main window piled up";
    std::cout << "soak: " << loads << " loads, " << windows << " detail windows, VmRSS "
              << rssBefore << " KiB after the warm-up, " << rssAfter << " KiB at the end, "
              << seconds << " s\n";
    RecordProperty("loads", loads);
    RecordProperty("windows", windows);
    RecordProperty("rss_before_kib", static_cast<int>(rssBefore));
    RecordProperty("rss_after_kib", static_cast<int>(rssAfter));
}

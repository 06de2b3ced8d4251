// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Hostile files and environments: whatever the user picks, the viewer neither crashes nor hangs
// nor shows something it did not read, and a load that fails leaves the table and the list as
// they were. The sanitizer build runs these too, which proves no read outside a buffer.
#include "FileReaderSupport.h"
#include "TestFilesLinux.h"
#include "U_ErrorDisplay.h"
#include "ViewerFixture.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTableView>

#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Everything a load that fails must leave as it was: every column of the horse table, every
// text of the list and which rows are selected.
struct ViewState {
    TDM_HorseStatus Table;
    QList<QStringList> Rows;
    QList<int> SelectedRows;

    static ViewState Of(const TDM_HorseStatus& table, const QAbstractItemView* list) {
        ViewState state{table, ListTexts(list), {}};
        for (const QModelIndex& index : list->selectionModel()->selectedRows())
            state.SelectedRows << index.row();
        return state;
    }
    // Empty when `other` equals this, else what differs.
    std::string DifferenceFrom(const ViewState& other) const {
        std::string differences;
        if (Table != other.Table)
            differences += "the horse table changed; ";
        if (Rows != other.Rows)
            differences += "the list's rows changed (" + std::to_string(other.Rows.size()) +
                           " rows, " + std::to_string(Rows.size()) + " before); ";
        if (SelectedRows != other.SelectedRows)
            differences += "the selection changed; ";
        return differences;
    }
};

} // namespace

// --- Through the main window ------------------------------------------------------------------

// A viewer that has loaded a good file and has a row selected: what every failing load must
// leave exactly as it is.
class HostileLoad : public ViewerTest {
protected:
    void SetUp() override {
        WriteHorseFile(goodPath, HorseFileLayouts[1].FileSize, SampleHorsesAt({5, 15, 25}));
        form->LoadHorseFile(QString::fromStdString(goodPath));
        ASSERT_EQ(RowCount(), 3);
        List()->selectRow(1);
        before = Now();
        ASSERT_EQ(before.SelectedRows, QList<int>{1});
    }

    // Loads `path` directly; returns the I/O error's message, or "" when none was raised.
    std::string Load(const std::string& path) {
        try {
            form->LoadHorseFile(QString::fromStdString(path));
        } catch (const EInOutError& error) {
            return error.what();
        }
        return "";
    }

    ViewState Now() const { return ViewState::Of(horseStatus, List()); }

    std::string goodPath = dir.File("good.dat");
    ViewState before;
};

// Every load that fails, chosen through the menu: a refused file shows no box, a path that
// names no file shows the reader's message in the error box (with the closing "." the box
// adds), and neither changes the table, the list or the selection. Which message each path
// raises, FileReaderTest checks.
TEST_F(HostileLoad, FailedLoadsShowTheirBoxOrNoneAndChangeNothing) {
    struct Case {
        std::string Path;
        QString Box; // empty: no box
    };
    std::vector<Case> cases;
    for (const std::string& path : MakeRefusedFiles(dir))
        cases.push_back({path, ""});
    for (const FailingPath& each : MakeFailingPaths(dir))
        cases.push_back({each.Path, QString::fromStdString(WithClosingPeriod(each.Message))});
    for (const Case& each : cases) {
        SCOPED_TRACE(each.Path);
        const FifoWatchdog watchdog(each.Path);
        OpenThroughMenu(QString::fromStdString(each.Path));
        const QList<ErrorBoxRecorder::Box> boxes = errorBoxes.TakeBoxes();
        if (each.Box.isEmpty()) {
            EXPECT_EQ(boxes.size(), 0);
        } else {
            ASSERT_EQ(boxes.size(), 1);
            EXPECT_EQ(boxes[0].Text, each.Box);
            EXPECT_EQ(boxes[0].Title, "stallark_tests"); // this program's file name
            EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
            EXPECT_EQ(boxes[0].Buttons, QMessageBox::Ok);
        }
        EXPECT_EQ(before.DifferenceFrom(Now()), "");
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(watchdog.Fired()) << "the load waited for a writer";
    }
}

// Each call of the reader failing in turn with each error number (a double of its system calls
// makes the error): the box shows the error's text, and the table, the list and the selection
// stay as they were. That the file is closed, FileReaderTest checks.
TEST_F(HostileLoad, FailingCallsShowTheErrorAndChangeNothing) {
    const QString path = QString::fromStdString(dir.File("failing.dat"));
    WriteHorseFile(path.toStdString(), HorseFileLayouts[2].FileSize, SampleHorsesAt({7}));
    for (const InjectedFailure& each : InjectedFailures()) {
        SCOPED_TRACE(each.Message);
        FailingCalls calls;
        calls.Fail = {{each.What, each.Error}};
        TDM_FileAccess failing(calls);
        TDM_FileAccess* const reader = std::exchange(DM_FileAccess, &failing);
        OpenThroughMenu(path);
        DM_FileAccess = reader;
        EXPECT_EQ(errorBoxes.TakeTexts(),
                  QStringList{QString::fromStdString(WithClosingPeriod(each.Message))});
        EXPECT_EQ(before.DifferenceFrom(Now()), "");
    }
}

// CI runs as root, who may read anything, so the loads run in a child process that has become
// the unprivileged user nobody: a file it may not read is denied and changes nothing, and a file
// it may read but not write loads, as the viewer only reads.
TEST_F(HostileLoad, UnreadableFileIsDeniedAndAReadOnlyFileLoads) {
    std::filesystem::permissions(
        dir.Path(), std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
        std::filesystem::perm_options::add);
    const std::string readOnly = dir.File("readonly.dat");
    const std::string unreadable = dir.File("unreadable.dat");
    WriteHorseFile(readOnly, HorseFileLayouts[0].FileSize, SampleHorsesAt({7}));
    WriteHorseFile(unreadable, HorseFileLayouts[0].FileSize, SampleHorsesAt({7}));
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(unreadable.c_str(), 0200), 0);

    const std::optional<std::string> report = RunAsNobody([&]() -> std::string {
        // Without these two the loads would prove nothing.
        if (::access(readOnly.c_str(), W_OK) == 0)
            return "the read-only file is writable for this user";
        if (::access(unreadable.c_str(), R_OK) == 0)
            return "the unreadable file is readable for this user";
        if (const std::string error = Load(unreadable);
            error != "ファイルへのアクセスが拒否されました")
            return "the unreadable file raised '" + error + "'";
        if (const std::string changed = before.DifferenceFrom(Now()); !changed.empty())
            return changed;
        const std::string error = Load(readOnly);
        return error.empty() && ListTexts(List()) == QList<QStringList>{SampleRowTexts(7)}
                   ? ""
                   : "the read-only file did not load: '" + error + "'";
    });
    if (!report)
        GTEST_SKIP() << "cannot become an unprivileged user here";
    EXPECT_EQ(*report, "");
}

// --- Hostile contents: every byte value is a valid file ---------------------------------------

// Any bytes make a file that loads: the list shows exactly the slots whose slot-state byte is
// 1, in order. All zero and all 0xFF list nothing; names without terminator run to the end of
// their record and no further (each record starts with two イ bytes, which a name running on
// into the next record would show); then random blocks with few terminators, a slot state of 1
// for about half the slots. What the decoder makes of such bytes, names and their terminators
// included, HorseDecodeTest checks.
TEST_F(HostileLoad, AnyBytesListExactlyTheSlotsMarkedPresent) {
    std::vector<HorseBlock> blocks(3);
    blocks[0].fill(0x00);
    blocks[1].fill(0xFF);
    blocks[2].fill(0x0E); // ア
    for (int i = 0; i < RecordCount; ++i) {
        std::uint8_t* record = blocks[2].data() + static_cast<std::size_t>(i) * RecordSize;
        record[0] = record[1] = 0x0F; // イ
        record[2] = 1;
    }
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> byte(seed % 2 == 0 ? 0 : 1, seed % 3 == 0 ? 255 : 254);
        HorseBlock& block = blocks.emplace_back();
        for (std::uint8_t& b : block)
            b = static_cast<std::uint8_t>(byte(random));
        for (int i = 0; i < RecordCount; ++i)
            if (random() % 2 == 0)
                block[static_cast<std::size_t>(i) * RecordSize + 2] = 1;
    }

    const std::string path = dir.File("any.dat");
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        SCOPED_TRACE("block " + std::to_string(n));
        const HorseBlock& block = blocks[n];
        WriteHorseFile(path, HorseFileLayouts[n % 3].FileSize, block);
        EXPECT_EQ(Load(path), "");

        QStringList expectedIds;
        for (int i = 0; i < RecordCount; ++i)
            if (block[static_cast<std::size_t>(i) * RecordSize + 2] == 1)
                expectedIds << QString::number(i);
        QStringList ids;
        for (const QStringList& row : ListTexts(List())) {
            ids << row[0];
            // The name runs to the end of its record: 400 bytes less its offset, 62.
            if (n == 2) {
                EXPECT_EQ(row[1], QStringLiteral("ア").repeated(338)) << row[0].toStdString();
            }
        }
        EXPECT_EQ(ids, expectedIds);
    }
}

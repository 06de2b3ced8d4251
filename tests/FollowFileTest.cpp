// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The list follows the file it shows: however a writer changes the file, the list ends equal to
// it, keeps its place and shows no box; F5 loads it again as the open command does. The 変更点
// log records what each version the list came to show changed.
#include "U_ChangeLog.h"
#include "U_FileAccessSystem.h"
#include "U_FileFollower.h"
#include "ViewerFixture.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Version 1 lists slots 0 to 29 and 40; version 2 slots 1 to 29, 40 and 41, so that every row
// below the first moves up; version 3 the same slots as 2, each with another スピード.
std::vector<int> SlotsOf(int version) {
    std::vector<int> listed;
    for (int slot = version == 1 ? 0 : 1; slot < 30; ++slot)
        listed.push_back(slot);
    listed.push_back(40);
    if (version > 1)
        listed.push_back(41);
    return listed;
}

int SpeedOf(int version, int slot) {
    return (version == 3 ? 100 : 30) + slot;
}

std::vector<std::uint8_t> Bytes(int version) {
    HorseBlock block{};
    for (const int slot : SlotsOf(version)) {
        HorseRecordFields horse = SampleHorse();
        horse.Speed = SpeedOf(version, slot);
        PutHorse(block, slot, horse);
    }
    return MakeHorseFileBytes(HorseFileLayouts[0].FileSize, block);
}

class FollowFile : public ViewerTest {
protected:
    // The follower's clock runs `skipped` ahead of the real one, so that a version can stand for a
    // second without the wait.
    FollowFile() {
        Follower()->Clock = [this] { return QDateTime::currentDateTimeUtc().addMSecs(skipped); };
    }
    void Later() { skipped += 2 * THorseChangeLog::HalfWrittenMs; }
    // Each row of the log as ID, 項目, 旧, 新 and 差, of the fields given.
    QStringList Logged(const QStringList& fields = {"スピード", "登録状態"}) const {
        QStringList rows;
        for (const QStringList& row : ListTexts(&logView))
            if (fields.contains(row[4]))
                rows << QStringList(row.mid(2)).join(' ').replace("ガパアイウ ", "").trimmed();
        return rows;
    }
    // The rows the change from version `from` to `to` logs, of the slots listed in both.
    static QStringList SpeedRows(int from, int to) {
        QStringList rows;
        for (const int slot : SlotsOf(to))
            if (SpeedOf(from, slot) != SpeedOf(to, slot))
                rows << QString("%1 スピード %2 %3 +%4")
                            .arg(slot)
                            .arg(SpeedOf(from, slot))
                            .arg(SpeedOf(to, slot))
                            .arg(SpeedOf(to, slot) - SpeedOf(from, slot));
        return rows;
    }

    // Each row's ID and スピード.
    QStringList Shown() const {
        QStringList shown;
        for (int row = 0; row < RowCount(); ++row)
            shown << Cell(row, 0) + " " + Cell(row, 3).section('/', 0, 0);
        return shown;
    }
    static QStringList ShownOf(int version) {
        QStringList shown;
        for (const int slot : SlotsOf(version))
            shown << QString("%1 %2").arg(slot).arg(SpeedOf(version, slot));
        return shown;
    }
    void ExpectVersion(int version) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return Shown() == ShownOf(version); }))
            << version << ": " << Shown().join(", ").toStdString();
    }
    // Waits until the follower has tried the file as it stands.
    void WaitForAReload() {
        QSignalSpy tried(Follower(), &TFileFollower::Tried);
        EXPECT_TRUE(tried.wait(5000));
    }
    TFileFollower* Follower() const { return &viewer.Follower(); }
    QString Selected() const {
        const QModelIndexList rows = List()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.front().data().toString() : "none";
    }
    void Open(int version) {
        WriteBytes(path, Bytes(version));
        OpenThroughMenu(QString::fromStdString(path));
    }

    const std::string path = dir.File("horses.dat");
    const std::string other = path + ".new";
    THorseChangeLog* const log = form->findChild<THorseChangeLog*>();
    QTableView logView; // reads the log as the window's does
    qint64 skipped = 0;
};

enum class Way {
    InPlace,
    InPlaceWithAPause,
    TruncateAndWrite,
    RenameOver,
    RenameOverTheFileHeldOpen,
    DeleteAndRecreate,
    WrongSize,
    Unreadable
};

class EachWayOfWriting : public FollowFile, public testing::WithParamInterface<Way> {
protected:
    ~EachWayOfWriting() override {
        for (const int held : held_)
            ::close(held);
    }
    void Write(const std::vector<std::uint8_t>& bytes) {
        const Way way = GetParam();
        if (way == Way::InPlace || way == Way::InPlaceWithAPause) {
            // The same size: with a pause, the list may show the half-written file for a while,
            // but ends on the whole new version.
            const std::size_t first = way == Way::InPlace ? bytes.size() : bytes.size() / 2;
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(first));
            file.flush();
            if (first == bytes.size())
                return;
            QTest::qWait(3 * TFileFollower::QuietPeriodMs);
            file.write(reinterpret_cast<const char*>(bytes.data() + first),
                       static_cast<std::streamsize>(bytes.size() - first));
            return;
        }
        // The file renamed over is still open elsewhere, so the system does not tell that it
        // is gone: the follower sees the new file at the path by its version.
        if (way == Way::RenameOverTheFileHeldOpen)
            held_.push_back(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (way == Way::TruncateAndWrite)
            return WriteBytes(path, bytes);
        // A file that is gone, of another size, or a link to itself, which nobody can open: the
        // list stays as it is until the right file comes.
        const QStringList before = Shown();
        if (way == Way::DeleteAndRecreate)
            std::filesystem::remove(path);
        if (way == Way::WrongSize)
            WriteBytes(path, std::vector<std::uint8_t>(1000, 1));
        if (way == Way::Unreadable) {
            std::filesystem::create_symlink(std::filesystem::path(path).filename(), other);
            std::filesystem::rename(other, path);
        }
        if (way != Way::RenameOver && way != Way::RenameOverTheFileHeldOpen) {
            WaitForAReload();
            EXPECT_EQ(Shown(), before);
        }
        WriteBytes(other, bytes);
        std::filesystem::rename(other, path);
    }

private:
    std::vector<int> held_;
};

} // namespace

// Two changes one after the other, the first listing other rows, the second the same rows with
// other texts; that the second is seen shows the file still followed after the first. Slot 20
// stays selected though its row moves, the list stays scrolled to its end and keeps the focus,
// and no box is shown.
TEST_P(EachWayOfWriting, ListEndsEqualToTheFileWithItsPlaceKept) {
    Open(1);
    List()->setFocus();
    List()->selectRow(20);
    List()->verticalScrollBar()->setValue(List()->verticalScrollBar()->maximum());
    const int scrolled = List()->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    logView.setModel(log);
    for (const int version : {2, 3}) {
        SCOPED_TRACE(version);
        Later();
        Write(Bytes(version));
        ExpectVersion(version);
        EXPECT_EQ(Selected(), "20");
        EXPECT_EQ(List()->currentIndex().siblingAtColumn(0).data().toString(), "20");
        EXPECT_EQ(List()->verticalScrollBar()->value(), scrolled);
        EXPECT_EQ(QApplication::focusWidget(), List());
        EXPECT_TRUE(Control<QPushButton>("Button1")->isEnabled());
        EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{});
    }
    // Slot 0 emptied and 41 filled, then every スピード; nothing of the failed reads between.
    const QStringList emptiedAndFilled = {"0 登録状態 あり なし", "41 スピード 30 71 +41",
                                          "41 登録状態 なし あり"};
    EXPECT_EQ(Logged(), SpeedRows(2, 3) + emptiedAndFilled);
}

std::string NameOf(const testing::TestParamInfo<Way>& way) {
    const char* const names[] = {"InPlace",
                                 "InPlaceWithAPause",
                                 "TruncateAndWrite",
                                 "RenameOver",
                                 "RenameOverTheFileHeldOpen",
                                 "DeleteAndRecreate",
                                 "WrongSize",
                                 "Unreadable"};
    return names[static_cast<int>(way.param)];
}

INSTANTIATE_TEST_SUITE_P(FollowFile, EachWayOfWriting,
                         testing::Values(Way::InPlace, Way::InPlaceWithAPause,
                                         Way::TruncateAndWrite, Way::RenameOver,
                                         Way::RenameOverTheFileHeldOpen, Way::DeleteAndRecreate,
                                         Way::WrongSize, Way::Unreadable),
                         NameOf);

// A reload waits while an ID is typed over, and comes once the typing is cancelled; an open
// detail window shows its slot's values of each new version, though the row it was opened from
// now lists another slot.
TEST_F(FollowFile, ReloadWaitsForTheTypingAndTheDetailWindowFollowsItsHorse) {
    Open(1);
    List()->setFocus();
    List()->selectRow(0);
    QTest::keyClick(List(), Qt::Key_F2);
    auto* editor = List()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "7");
    WriteBytes(path, Bytes(2));
    WaitForAReload();
    EXPECT_EQ(Shown(), ShownOf(1));
    EXPECT_EQ(editor->text(), "7");
    QTest::keyClick(editor, Qt::Key_Escape);
    ExpectVersion(2);

    QStringList speeds;
    QSignalSpy shown(Follower(), &TFileFollower::VersionShown);
    ModalHandler detail("TDetailWindow", [&](QWidget* modal) {
        const auto* speed = modal->findChild<QLineEdit*>("E_Speed");
        speeds << speed->text();
        for (const int version : {1, 3}) {
            WriteBytes(path, Bytes(version));
            ExpectVersion(version);
            speeds << speed->text();
        }
        modal->close();
    });
    List()->selectRow(0); // slot 1
    QTest::keyClick(List(), Qt::Key_Return);
    ASSERT_TRUE(detail.Handled());
    EXPECT_EQ(speeds, (QStringList{"31", "31", "101"}));
    // Once for each version shown, whichever way it was read.
    EXPECT_EQ(shown.size(), 2);
}

// F5 loads the followed file as the open command does: the box when it is gone, the list and
// its place kept; once it is back, its rows at once. A file that failed to open is not the one
// followed. A change that comes after the first read and before the watch is read too.
TEST_F(FollowFile, F5ReportsTheFileGoneAndLoadsItBack) {
    // Puts version 2 in place once the read of version 1 has ended, with its last look at the
    // path: a new file, so that its version differs however coarse the clock.
    struct WriterAfterTheRead : FileAccessSystem::Calls {
        std::optional<FileVersion> VersionAt(const std::string& file) const override {
            const std::optional<FileVersion> version = Calls::VersionAt(file);
            if (++looks == 2) {
                WriteBytes(file + ".new", Bytes(2));
                std::filesystem::rename(file + ".new", file);
            }
            return version;
        }
        mutable int looks = 0;
    } calls;
    TDM_FileAccess changing(calls);
    TDM_FileAccess* const reader = std::exchange(DM_FileAccess, &changing);
    Open(1);
    DM_FileAccess = reader;
    EXPECT_EQ(Shown(), ShownOf(1));
    ExpectVersion(2);
    WriteBytes(path, Bytes(1));
    ExpectVersion(1);

    List()->setFocus();
    List()->selectRow(5);
    OpenThroughMenu(QString::fromStdString(dir.File("missing.dat")));
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{"ファイルが見つかりません."});
    std::filesystem::remove(path);
    QTest::keyClick(List(), Qt::Key_F5);
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{"ファイルが見つかりません."});
    EXPECT_EQ(Shown(), ShownOf(1));
    WriteBytes(path, Bytes(2));
    QTest::keyClick(List(), Qt::Key_F5);
    EXPECT_EQ(Shown(), ShownOf(2));
    EXPECT_EQ(Selected(), "5");
}

// A writer process puts two whole versions in place by turns, truncating and writing the file
// or renaming a new one over it, while the viewer reloads as fast as it can: every time the
// list changes it shows one version or the other, never rows of neither.
TEST_F(FollowFile, WriterReplacingTheFileNeverShowsRowsOfNeither) {
    Open(2);
    const std::vector<std::uint8_t> versions[] = {Bytes(2), Bytes(3)};
    constexpr int Writes = 400;
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        for (int n = 1; n <= Writes; ++n) {
            const bool rename = n % 4 < 2;
            const int fd =
                ::open((rename ? other : path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const auto& bytes = versions[n % 2];
            if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != std::ssize(bytes) ||
                ::close(fd) != 0 || (rename && ::rename(other.c_str(), path.c_str()) != 0))
                ::_exit(1);
        }
        ::_exit(0);
    }
    int seen[2] = {0, 0};
    QStringList neither;
    const auto check = [&] {
        const QStringList now = Shown();
        if (now == ShownOf(2) || now == ShownOf(3))
            ++seen[now == ShownOf(3)];
        else if (neither.isEmpty())
            neither = now;
    };
    QObject::connect(List()->model(), &QAbstractItemModel::modelReset, check);
    QObject::connect(List()->model(), &QAbstractItemModel::dataChanged, check);
    int status = 0;
    while (::waitpid(writer, &status, WNOHANG) == 0) {
        form->ReloadFollowedFile();
        QApplication::processEvents();
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(neither, QStringList{});
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    ExpectVersion(2); // the version written last
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{});
}

// The save's folder goes away for longer than the retries last (renamed, or a share that
// dropped out) and the file changes meanwhile: the list keeps what it showed, the retries run
// out and leave no timer, and once the folder is back the file is shown and followed again.
TEST_F(FollowFile, FolderGoneForLongIsFollowedAgainOnceBack) {
    const std::filesystem::path folder = dir.Path() / "save";
    const std::filesystem::path away = dir.Path() / "away";
    const std::string file = (folder / "horses.dat").string();
    std::filesystem::create_directory(folder);
    WriteBytes(file, Bytes(1));
    OpenThroughMenu(QString::fromStdString(file));
    std::filesystem::rename(folder, away);
    QSignalSpy tried(Follower(), &TFileFollower::Tried);
    WriteBytes((away / "horses.dat").string(), Bytes(2));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return tried.size() > 1 && Follower()->CurrentState() == TFileFollower::State::Watching;
        },
        10'000));
    EXPECT_EQ(Shown(), ShownOf(1));
    std::filesystem::rename(away, folder);
    ExpectVersion(2);
    WriteBytes(file, Bytes(3));
    ExpectVersion(3);
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{});
}

// Another file opened logs what differs from the version shown before, an equal version and a
// failed read log nothing, and a writer that fills the file with zeros and then writes it, a
// moment later, logs only the real change: the empty version shown between gives way to it.
TEST_F(FollowFile, LogLeavesOutEqualVersionsFailedReadsAndHalfWrittenOnes) {
    logView.setModel(log);
    Open(2);
    Later();
    WriteBytes(path, Bytes(2));
    WaitForAReload();
    EXPECT_EQ(log->rowCount(), 0); // the first file and an equal version

    Later();
    QSignalSpy shown(Follower(), &TFileFollower::VersionShown);
    WriteBytes(path, std::vector<std::uint8_t>(HorseFileLayouts[0].FileSize, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return RowCount() == 0; }));
    QTest::qWait(350 - TFileFollower::QuietPeriodMs);
    WriteBytes(path, Bytes(3));
    ExpectVersion(3);
    EXPECT_EQ(shown.size(), 2); // the zeros were shown
    EXPECT_EQ(Logged(), SpeedRows(2, 3));

    OpenThroughMenu(QString::fromStdString(dir.File("missing.dat")));
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{"ファイルが見つかりません."});
    Later();
    const HorseBlock another = SampleHorsesAt({1});
    OpenThroughMenu(WriteFile("another.dat", another));
    const QList<QStringList> rows = ListTexts(&logView);
    ASSERT_GT(rows.size(), 2);
    EXPECT_EQ(rows[0].mid(1),
              (QStringList{"another.dat", "1", "ガパアイウ", "スピード", "101", "31", "-70"}));
    EXPECT_EQ(rows[1].mid(1, 3), (QStringList{"another.dat", "2", "ガパアイウ"})); // emptied
    EXPECT_EQ(rows.back()[1], "horses.dat");
    EXPECT_EQ(rows[0][0], log->LastRead());
}

// Ctrl+H opens the window beside the list, which goes on working; closed and opened again it
// shows the same log. Its copy keys and context menu copy rows with the captions first.
TEST_F(FollowFile, ChangesWindowShowsTheLogAndCopiesIt) {
    EXPECT_EQ(form->findChild<QWidget*>("ChangesWindow"), nullptr); // made on first use
    Open(2);
    QTest::keyClick(List(), Qt::Key_H, Qt::ControlModifier);
    auto* window = form->findChild<QWidget*>("ChangesWindow");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(window->windowTitle().startsWith("変更点"));
    auto* empty = window->findChild<QLabel*>("L_Empty");
    EXPECT_TRUE(empty->isVisible());
    auto* view = window->findChild<QTableView*>("ChangesView");
    EXPECT_EQ(view->model(), log);

    Later();
    WriteBytes(path, Bytes(3));
    ExpectVersion(3);
    EXPECT_FALSE(empty->isVisible());
    EXPECT_EQ(window->findChild<QLabel*>("L_LastRead")->text(), "最終読込 " + log->LastRead());
    window->close();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(List(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(form->findChild<QWidget*>("ChangesWindow"), window);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(view->model()->rowCount(), 31);

    const QString captions = "時刻\tファイル\tID\t馬名\t項目\t旧\t新\t差\n";
    const auto line = [&](int row) { return ListTexts(view)[row].join('\t') + '\n'; };
    view->selectionModel()->select(view->model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->selectionModel()->select(view->model()->index(0, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QApplication::clipboard()->clear();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), captions + line(0) + line(2));
    QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = view->findChild<QMenu*>();
    ASSERT_TRUE(menu != nullptr && menu->isVisible());
    QTest::keyClick(menu, Qt::Key_A);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(captions + line(0) + line(1)));
    EXPECT_EQ(QApplication::clipboard()->text().count('\n'), 32);
}

// The log keeps the newest 10,000 rows: after 160 versions of 64 changes each, the oldest
// version still in it has only its first 16 rows left.
TEST(ChangeLog, KeepsTheNewestRowsOnly) {
    THorseChangeLog log;
    QTableView view;
    view.setModel(&log);
    TDM_HorseStatus table;
    table.Registered.fill(1);
    QDateTime at = QDateTime::currentDateTimeUtc();
    for (int version = 0; version <= 160; ++version) {
        table.Speed.fill(version);
        log.Record(table, "horses.dat", at = at.addSecs(2));
    }
    ASSERT_EQ(log.rowCount(), THorseChangeLog::MaxRows);
    const QList<QStringList> rows = ListTexts(&view);
    EXPECT_EQ(rows.front().mid(2), (QStringList{"0", "", "スピード", "159", "160", "+1"}));
    EXPECT_EQ(rows.back().mid(2), (QStringList{"15", "", "スピード", "3", "4", "+1"}));
}

// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The list follows the file it shows: however a writer changes the file, the list ends equal to
// it, keeps its place and shows no box; F5 loads it again as the open command does.
#include "U_FileFollower.h"
#include "ViewerFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Version n of the file: 31 horses, slots n-1 to 29 and 40 to 40+n-1, so that each version
// lists other rows and moves the rows below the first.
std::vector<int> SlotsOfVersion(int n) {
    std::vector<int> listed(31);
    std::iota(listed.begin(), listed.begin() + (31 - n), n - 1);
    std::iota(listed.begin() + (31 - n), listed.end(), 40);
    return listed;
}

std::vector<std::uint8_t> VersionBytes(int n) {
    return MakeHorseFileBytes(HorseFileLayouts[0].FileSize, SampleHorsesAt(SlotsOfVersion(n)));
}

QStringList Captions(const std::vector<int>& listed) {
    QStringList captions;
    for (const int slot : listed)
        captions << QString::number(slot);
    return captions;
}

enum class Way {
    InPlace,
    TruncateAndWrite,
    RenameOver,
    DeleteAndRecreate,
    WrongSizeFirst,
    UnreadableFirst
};

class FollowFile : public ViewerTest {
protected:
    QStringList ListedCaptions() const {
        QStringList captions;
        for (int row = 0; row < RowCount(); ++row)
            captions << Cell(row, 0);
        return captions;
    }
    // Waits until the list lists version n, and checks the row of `slot`.
    void ExpectVersion(int n, int slot) {
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return ListedCaptions() == Captions(SlotsOfVersion(n));
        })) << "version "
            << n << ", the list: " << ListedCaptions().join(' ').toStdString();
        const int row =
            static_cast<int>(Captions(SlotsOfVersion(n)).indexOf(QString::number(slot)));
        EXPECT_EQ(RowTexts(row), SampleRowTexts(slot));
    }
    // Waits until the follower has tried the file as it stands.
    void WaitForAReload() {
        QSignalSpy settled(form->findChild<TFileFollower*>(), &TFileFollower::Settled);
        EXPECT_TRUE(settled.wait(5000));
    }
    std::vector<int> SelectedSlots() const {
        std::vector<int> listed;
        for (const QModelIndex& row : List()->selectionModel()->selectedRows())
            listed.push_back(row.data().toInt());
        return listed;
    }

    const std::string path = dir.File("horses.dat");
};

class EachWayOfWriting : public FollowFile, public testing::WithParamInterface<Way> {
protected:
    void Write(const std::vector<std::uint8_t>& bytes) {
        const std::string other = path + ".new";
        switch (GetParam()) {
        case Way::InPlace: {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
            break;
        }
        case Way::TruncateAndWrite:
            WriteBytes(path, bytes);
            break;
        case Way::RenameOver:
            WriteBytes(other, bytes);
            std::filesystem::rename(other, path);
            break;
        case Way::DeleteAndRecreate:
            std::filesystem::remove(path);
            WaitForAReload();
            WriteBytes(path, bytes);
            break;
        case Way::WrongSizeFirst:
        case Way::UnreadableFirst:
            if (GetParam() == Way::WrongSizeFirst) {
                WriteBytes(path, std::vector<std::uint8_t>(1000, 1));
            } else {
                // A link to itself cannot be opened, whoever runs the test.
                std::filesystem::create_symlink(std::filesystem::path(path).filename(), other);
                std::filesystem::rename(other, path);
            }
            WaitForAReload();
            EXPECT_EQ(RowCount(), static_cast<int>(shown_.size())) << "the list changed";
            WriteBytes(other, bytes);
            std::filesystem::rename(other, path);
            break;
        }
    }
    std::vector<int> shown_;
};

} // namespace

// Two changes one after the other, each to another version: the second shows that the file
// is still followed after the first. Slot 20 stays selected though its row moves, the list
// stays scrolled to its end and keeps the focus, and no box is shown.
TEST_P(EachWayOfWriting, ListEndsEqualToTheFileWithItsPlaceKept) {
    WriteBytes(path, VersionBytes(1));
    OpenThroughMenu(QString::fromStdString(path));
    ExpectVersion(1, 20);
    List()->setFocus();
    List()->selectRow(static_cast<int>(Captions(SlotsOfVersion(1)).indexOf("20")));
    List()->verticalScrollBar()->setValue(List()->verticalScrollBar()->maximum());
    const int scrolled = List()->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);

    for (const int version : {2, 3}) {
        SCOPED_TRACE(version);
        shown_ = SlotsOfVersion(version - 1);
        Write(VersionBytes(version));
        ExpectVersion(version, 20);
        EXPECT_EQ(SelectedSlots(), std::vector<int>{20});
        EXPECT_EQ(List()->currentIndex().siblingAtColumn(0).data().toString(), "20");
        EXPECT_EQ(List()->verticalScrollBar()->value(), scrolled);
        EXPECT_EQ(QApplication::focusWidget(), List());
        EXPECT_TRUE(Control<QPushButton>("Button1")->isEnabled());
        EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{});
    }
}

std::string NameOf(const testing::TestParamInfo<Way>& info) {
    const char* const names[] = {"InPlace",           "TruncateAndWrite", "RenameOver",
                                 "DeleteAndRecreate", "WrongSizeFirst",   "UnreadableFirst"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(FollowFile, EachWayOfWriting,
                         testing::Values(Way::InPlace, Way::TruncateAndWrite, Way::RenameOver,
                                         Way::DeleteAndRecreate, Way::WrongSizeFirst,
                                         Way::UnreadableFirst),
                         NameOf);

// A reload waits while an ID is typed over, and comes once the typing is cancelled; an open
// detail window keeps the horse it opened with while the list beneath follows the file.
TEST_F(FollowFile, ReloadWaitsForTheTypingAndLeavesTheDetailWindowAlone) {
    WriteBytes(path, VersionBytes(1));
    OpenThroughMenu(QString::fromStdString(path));
    List()->setFocus();
    List()->selectRow(0);
    QTest::keyClick(List(), Qt::Key_F2);
    auto* editor = List()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "7");
    WriteBytes(path, VersionBytes(2));
    WaitForAReload();
    EXPECT_EQ(ListedCaptions(), Captions(SlotsOfVersion(1)));
    EXPECT_EQ(editor->text(), "7");
    QTest::keyClick(editor, Qt::Key_Escape);
    ExpectVersion(2, 1);

    List()->selectRow(0);
    QString before, after;
    ModalHandler detail("TDetailWindow", [&](QWidget* modal) {
        auto* name = modal->findChild<QLineEdit*>("E_Speed");
        before = name->text();
        WriteBytes(path, VersionBytes(3)); // slot 1 is no longer listed
        ExpectVersion(3, 2);
        after = name->text();
        modal->close();
    });
    QTest::keyClick(List(), Qt::Key_Return);
    ASSERT_TRUE(detail.Handled());
    EXPECT_EQ(before, "31");
    EXPECT_EQ(after, "31");
    EXPECT_TRUE(List()->selectionModel()->selectedRows().isEmpty());
    EXPECT_FALSE(Control<QPushButton>("Button1")->isEnabled());
}

// F5 loads the followed file as the open command does: the box when it is gone, the list and
// its place kept; once it is back, its rows at once.
TEST_F(FollowFile, F5ReportsTheFileGoneAndLoadsItBack) {
    WriteBytes(path, VersionBytes(1));
    OpenThroughMenu(QString::fromStdString(path));
    List()->setFocus();
    List()->selectRow(5);
    std::filesystem::remove(path);
    QTest::keyClick(List(), Qt::Key_F5);
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{"ファイルが見つかりません."});
    EXPECT_EQ(ListedCaptions(), Captions(SlotsOfVersion(1)));
    EXPECT_EQ(SelectedSlots(), std::vector<int>{5});

    WriteBytes(path, VersionBytes(2));
    QTest::keyClick(List(), Qt::Key_F5);
    EXPECT_EQ(ListedCaptions(), Captions(SlotsOfVersion(2)));
    EXPECT_EQ(SelectedSlots(), std::vector<int>{5});
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{});
}

// A writer process puts two whole versions in place by turns, truncating and writing the file
// or renaming a new one over it, while the viewer reloads as fast as it can: every time the
// list changes it shows one version or the other, never rows of neither. The two list the same
// slots, so that only whole texts tell them apart.
TEST_F(FollowFile, WriterReplacingTheFileNeverShowsRowsOfNeither) {
    const std::vector<int> listed = SlotsOfVersion(1);
    HorseBlock other = SampleHorsesAt(listed);
    for (const int slot : listed) {
        HorseRecordFields horse = SampleHorse();
        horse.Speed = 150 - slot;
        horse.HorseName = "ベツノウマ";
        PutHorse(other, slot, horse);
    }
    const std::vector<std::uint8_t> versions[] = {
        VersionBytes(1), MakeHorseFileBytes(HorseFileLayouts[0].FileSize, other)};
    const auto allTexts = [this] {
        QStringList texts;
        for (int row = 0; row < RowCount(); ++row)
            texts << RowTexts(row);
        return texts;
    };
    QStringList shown[2];
    for (const int n : {1, 0}) {
        WriteBytes(path, versions[n]);
        OpenThroughMenu(QString::fromStdString(path));
        shown[n] = allTexts();
    }
    ASSERT_NE(shown[0], shown[1]);

    constexpr int Writes = 400;
    const std::string renamed = path + ".new";
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        for (int n = 1; n <= Writes; ++n) {
            const std::vector<std::uint8_t>& bytes = versions[n % 2];
            const bool rename = n % 4 < 2;
            const int fd =
                ::open(rename ? renamed.c_str() : path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 ||
                ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
                ::close(fd) != 0)
                ::_exit(1);
            if (rename && ::rename(renamed.c_str(), path.c_str()) != 0)
                ::_exit(1);
        }
        ::_exit(0);
    }

    int seen[2] = {0, 0};
    QStringList neither;
    const auto check = [&] {
        const QStringList now = allTexts();
        if (now == shown[0] || now == shown[1])
            ++seen[now == shown[1]];
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
    // The version written last.
    EXPECT_TRUE(QTest::qWaitFor([&] { return allTexts() == shown[Writes % 2]; }));
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{});
}

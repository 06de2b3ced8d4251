// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The 能力表 and 比較 windows as the user reaches them: from the list's window, following the
// file it shows.
#include "U_AbilityTableWindow.h"
#include "U_ChartGeometry.h"
#include "U_ColorContrast.h"
#include "U_CompareWindow.h"
#include "ViewerFixture.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>
#include <QTest>

namespace {

struct Listed {
    int Slot;
    const char* Name;
    int Speed, Power;
};

// Slots 3, 7, 12, 20 and 30 to 59, so that the table scrolls; スピード 120 twice (tied), パワー
// best at slot 12 only.
HorseBlock Horses(int speedOfSeven = 120, bool withTwenty = true) {
    const std::vector<Listed> named = {{3, "シルバーアロー", 120, 50},
                                       {7, "アカツキ", speedOfSeven, 60},
                                       {12, "ゴールド", 90, 127},
                                       {20, "カゼ", 100, 60}};
    HorseBlock block{};
    for (const Listed& horse : named) {
        if (horse.Slot == 20 && !withTwenty)
            continue;
        HorseRecordFields fields = SampleHorse();
        fields.HorseName = horse.Name;
        fields.Speed = horse.Speed;
        fields.Power = horse.Power;
        PutHorse(block, horse.Slot, fields);
    }
    for (int slot = 30; slot < 60; ++slot) {
        HorseRecordFields fields = SampleHorse();
        fields.Speed = 40;
        fields.LowerDistance = fields.UpperDistance = 1000;
        PutHorse(block, slot, fields);
    }
    return block;
}

constexpr int SpeedColumn = FirstBasicAbilityField;
constexpr int PowerColumn = FirstBasicAbilityField + 3;

class AbilityTable : public ViewerTest {
protected:
    TAbilityTableWindow* Open() {
        OpenThroughMenu(path);
        QTest::keyClick(form, Qt::Key_T, Qt::ControlModifier);
        auto* window = form->findChild<TAbilityTableWindow*>();
        EXPECT_TRUE(window != nullptr &&
                    QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
        return window;
    }
    QTableView* Table(TAbilityTableWindow* window) const { return window->View(); }
    // The IDs of the rows, top to bottom.
    static QStringList Ids(const QTableView* table) {
        QStringList ids;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            ids << table->model()->index(row, 0).data().toString();
        return ids;
    }
    static QStringList SelectedIds(const QTableView* table) {
        QStringList ids;
        QModelIndexList rows = table->selectionModel()->selectedRows();
        std::sort(rows.begin(), rows.end());
        for (const QModelIndex& row : rows)
            ids << row.data().toString();
        return ids;
    }
    static void ClickHeader(QTableView* table, int column) {
        QHeaderView* header = table->horizontalHeader();
        table->scrollTo(table->model()->index(0, column));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }
    void Reload() { form->findChild<QAction*>("Reload1")->trigger(); }

    QString path = WriteFile("horses.dat", Horses());
};

} // namespace

TEST_F(AbilityTable, CopiesWhatDumpPrintsAndSortsByHeaderAndKeysTiesInIdOrder) {
    TAbilityTableWindow* window = Open();
    QTableView* table = Table(window);
    EXPECT_TRUE(window->windowTitle().startsWith("能力表"));
    QApplication::clipboard()->clear();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QProcess dump;
    dump.start(QStringLiteral(STALLARK_DUMP), {"--fields", path});
    ASSERT_TRUE(dump.waitForFinished(30'000));
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(dump.readAllStandardOutput()));

    ClickHeader(table, SpeedColumn);
    EXPECT_EQ(Ids(table).mid(0, 5), (QStringList{"3", "7", "20", "12", "30"}));
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), SpeedColumn);
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    ClickHeader(table, SpeedColumn);
    EXPECT_EQ(Ids(table).mid(30), (QStringList{"12", "20", "3", "7"}));
    // 馬名 in kana order: アカツキ, カゼ, ガパアイウ (the 30 alike, in ID order), ゴールド,
    // シルバーアロー; カゼ before ガパ, as カセ before カハ.
    ClickHeader(table, NameField);
    EXPECT_EQ(Ids(table).mid(0, 3), (QStringList{"7", "20", "30"}));
    EXPECT_EQ(Ids(table).mid(32), (QStringList{"12", "3"}));
    // Ctrl+S sorts by the current cell's column as its header does, and again the other way.
    table->setFocus();
    table->setCurrentIndex(table->model()->index(0, PowerColumn));
    QTest::keyClick(table, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Ids(table).front(), "12");
    QTest::keyClick(table, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Ids(table).back(), "12");
}

// The best of each ability and of 評価 among the rows shown, which 絞り込み's texts, distances
// and conditions choose; a text that does not parse says why under its field.
TEST_F(AbilityTable, MarksTheBestOfTheShownRowsAndOfTheirScoreReadably) {
    QTableView* table = Table(Open());
    const auto marked = [table](int column) {
        QStringList ids;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            if (table->model()->index(row, column).data(Qt::AccessibleDescriptionRole) == "最高値")
                ids << table->model()->index(row, 0).data().toString();
        return ids;
    };
    EXPECT_EQ(marked(SpeedColumn), (QStringList{"3", "7"}));
    EXPECT_EQ(marked(PowerColumn), QStringList{"12"});
    EXPECT_EQ(marked(NameField), QStringList{});
    // The four named hold 2400; the 30 others run 1000 only.
    auto* filter = table->window()->findChild<QLineEdit*>("FilterBox");
    EXPECT_EQ(filter->accessibleName(), "絞り込み");
    filter->setText("2400");
    EXPECT_EQ(Ids(table), (QStringList{"3", "7", "12", "20"}));
    filter->setText("ごーるど");
    EXPECT_EQ(marked(SpeedColumn), QStringList{"12"});
    filter->setText("ｼﾙﾊﾞｰ");
    EXPECT_EQ(Ids(table), QStringList{"3"});
    EXPECT_EQ(marked(PowerColumn), QStringList{"3"});

    // 評価 after 馬名: パワー 60 divides by zero; the other columns and their marks move along.
    auto* score = table->window()->findChild<QLineEdit*>("ScoreBox");
    EXPECT_EQ(score->accessibleName(), "評価式");
    filter->setText("2400");
    score->setText(" スピード/(ぱわー−60)");
    const int scoreColumn = NameField + 1;
    ASSERT_EQ(table->model()->headerData(scoreColumn, Qt::Horizontal).toString(), "評価");
    const auto column = [table](int column) {
        QStringList texts;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            texts << table->model()->index(row, column).data().toString();
        return texts;
    };
    EXPECT_EQ(column(scoreColumn), (QStringList{"-12.0", "―", "1.3", "―"}));
    EXPECT_EQ(marked(scoreColumn), QStringList{"12"});
    EXPECT_EQ(marked(SpeedColumn + 1), (QStringList{"3", "7"}));
    EXPECT_EQ(table->model()->index(0, scoreColumn).data(Qt::ToolTipRole).toString(),
              "スピード・パワー 120/(50-60) = -12; 計 -12.0");
    ClickHeader(table, scoreColumn);
    EXPECT_EQ(Ids(table), (QStringList{"12", "3", "7", "20"}));
    filter->setText("2400　評価>-20");
    EXPECT_EQ(Ids(table), (QStringList{"12", "3"}));

    // Errors: the rows and the column stay as the last valid texts left them.
    const auto* scoreError = table->window()->findChild<QLabel*>("ScoreError");
    const auto* filterError = table->window()->findChild<QLabel*>("FilterError");
    EXPECT_FALSE(scoreError->isVisibleTo(table->window()));
    score->setText("スピード/(ぱわー−60");
    EXPECT_EQ(scoreError->text(), "括弧が閉じていません (6 文字目)");
    EXPECT_EQ(score->accessibleDescription(), scoreError->text());
    EXPECT_TRUE(scoreError->isVisibleTo(table->window()));
    filter->setText("2400 すぴ>1");
    EXPECT_EQ(filterError->text(), "「すぴ」は項目名ではありません (6 文字目)");
    EXPECT_EQ(Ids(table), (QStringList{"12", "3"}));
    EXPECT_EQ(column(scoreColumn), (QStringList{"1.3", "-12.0"}));
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(
        "ID\t馬名\t評価 (スピード/(ぱわー−60))\t父\t母\tスピード\t"));
    filter->setText("2400");
    EXPECT_FALSE(filterError->isVisibleTo(table->window()));
    score->clear();
    EXPECT_EQ(table->model()->columnCount(), SlotStateField);
    EXPECT_EQ(Ids(table), (QStringList{"3", "7", "12", "20"}));
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), -1);
    filter->setText("ｼﾙﾊﾞｰ");

    const QModelIndex best = table->model()->index(0, PowerColumn);
    for (const bool dark : {false, true}) {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Base, dark ? Qt::black : Qt::white);
        QApplication::setPalette(palette);
        const QColor background = best.data(Qt::BackgroundRole).value<QColor>();
        const QColor text = best.data(Qt::ForegroundRole).value<QColor>();
        EXPECT_GE(ContrastRatio(background, text), 4.5) << dark;
        EXPECT_EQ(background.lightness() < 128, dark);
        EXPECT_TRUE(best.data(Qt::FontRole).value<QFont>().bold());
    }
    EXPECT_FALSE(table->window()->findChild<QLabel*>("MarkNote")->text().isEmpty());
}

TEST_F(AbilityTable, ReloadKeepsSortFilterSelectionAndScrollAndTheComparisonFollows) {
    TAbilityTableWindow* window = Open();
    QTableView* table = Table(window);
    ClickHeader(table, SpeedColumn);
    table->setFocus();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(1, 1)).center());
    QTest::keyClick(table, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(SelectedIds(table), (QStringList{"7", "20"}));
    table->verticalScrollBar()->setValue(3);

    // A row selected, Ctrl+K is greyed; with two it opens A (the upper) against B.
    QTest::keyClick(table, Qt::Key_K, Qt::ControlModifier);
    TCompareWindow* compare = window->CompareWindow();
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(compare->windowTitle().startsWith("比較"));
    const QTableView* rows = compare->findChild<QTableView*>("CompareTable");
    QList<QStringList> texts = ListTexts(rows);
    ASSERT_EQ(texts.size(), 22);
    EXPECT_EQ(rows->model()->headerData(1, Qt::Horizontal).toString(), "アカツキ");
    EXPECT_EQ(texts[2], (QStringList{"スピード", "120", "100", "+20"}));
    EXPECT_EQ(texts[5], (QStringList{"パワー", "60", "60", "0"}));
    EXPECT_EQ(texts[13], (QStringList{"距離適性上限", "2400", "2400", "0"}));
    EXPECT_EQ(rows->model()->index(2, 1).data(Qt::FontRole).value<QFont>().bold(), true);
    EXPECT_EQ(compare->findChild<QWidget*>("AbilityChart")->accessibleName(), "能力チャート");

    // The file changes: アカツキ falls to 95; the order, the selection and the scroll stay.
    WriteFile("horses.dat", Horses(95));
    Reload();
    EXPECT_EQ(Ids(table).mid(0, 5), (QStringList{"3", "20", "7", "12", "30"}));
    EXPECT_EQ(SelectedIds(table), (QStringList{"20", "7"}));
    EXPECT_EQ(table->verticalScrollBar()->value(), 3);
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), SpeedColumn);
    EXPECT_EQ(ListTexts(rows)[2], (QStringList{"スピード", "95", "100", "-5"}));
    EXPECT_TRUE(rows->model()->index(2, 2).data(Qt::FontRole).value<QFont>().bold());

    auto* filter = window->findChild<QLineEdit*>("FilterBox");
    filter->setText("2400");
    EXPECT_EQ(Ids(table), (QStringList{"3", "20", "7", "12"}));
    WriteFile("horses.dat", Horses(95, false));
    Reload();
    EXPECT_EQ(Ids(table), (QStringList{"3", "7", "12"}));
    EXPECT_EQ(filter->text(), "2400");
    const QLabel* notice = compare->findChild<QLabel*>("GoneNotice");
    EXPECT_TRUE(notice->isVisibleTo(compare));
    EXPECT_TRUE(notice->text().contains("ID 20 (カゼ) はもう一覧にありません"))
        << notice->text().toStdString();
    EXPECT_EQ(rows->model()->rowCount(), 0);
}

TEST_F(AbilityTable, MenuAndKeysCopyCompareAndShowTheDetail) {
    QTableView* table = Table(Open());
    table->setFocus();
    table->selectRow(0);
    QTest::keyClick(table, Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = table->findChild<QMenu*>();
    ASSERT_TRUE(menu != nullptr && menu->isVisible());
    QStringList items;
    for (const QAction* item : menu->actions())
        items << item->text() + " " + item->shortcut().toString();
    EXPECT_EQ(items, (QStringList{"コピー(&C) Ctrl+C", "すべての行をコピー(&A) Ctrl+Shift+C", " ",
                                  "比較(&V) Ctrl+K"}));
    EXPECT_FALSE(menu->actions().back()->isEnabled());
    menu->close();

    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      table->visualRect(table->model()->index(2, 1)).center());
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    ASSERT_EQ(lines.size(), 4); // the captions, two rows and the last line's end
    EXPECT_TRUE(lines[0].startsWith("ID\t馬名\t父\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("3\tシルバーアロー\t")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("12\tゴールド\t")) << lines[2].toStdString();

    int shown = -1;
    ModalHandler detail("TDetailWindow", [&](QWidget* modal) {
        shown = modal->findChild<QLineEdit*>("E_Speed")->text().toInt();
        modal->close();
    });
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(shown, 90);
}

TEST(ChartGeometry, PointsScaleEachAxisToItsAbilitysRange) {
    const auto near = [](ChartPoint p, double x, double y) {
        EXPECT_NEAR(p.X, x, 1e-9);
        EXPECT_NEAR(p.Y, y, 1e-9);
    };
    near(AbilityChartPoint(0, 157), 0, -1); // スピード at its greatest: the top
    near(AbilityChartPoint(0, 30), 0, 0);   // and at its least: the centre
    near(AbilityChartPoint(0, 200), 0, -1); // beyond the range, at the rim
    near(AbilityChartPoint(3, 127), 0.951056516, 0.309016994);  // パワー at 108°
    near(AbilityChartPoint(4, 51), 0.117557050, 0.161803399);   // 瞬発力 51/255 at 144°
    near(AbilityChartPoint(1, 157), 0.587785252, -0.809016994); // 持続力 at 36°
    near(AbilityChartPoint(7, 127), -0.951056516, 0.309016994); // 勝負根性 at 252°
}

// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The 能力表 and 比較 windows as the user reaches them: from the list's window, following the
// file it shows.
#include "U_AbilityTableWindow.h"
#include "U_ChartGeometry.h"
#include "U_ColorContrast.h"
#include "U_ColorScheme.h"
#include "U_CompareWindow.h"
#include "U_FileFollower.h"
#include "U_TrendChart.h"
#include "U_TrendWindow.h"
#include "U_WindowPlacement.h"
#include "ViewerFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include <set>
#include <tuple>

namespace {

struct Listed {
    int Slot;
    const char* Name;
    int Speed, Power;
};

// Slots 3, 7, 12, 20 and 30 to 59, so that the table scrolls; スピード 120 twice (tied), パワー
// best at slot 12 only.
HorseBlock Horses(int speedOfSeven = 120, bool withTwenty = true,
                  const char* nameOfSeven = "アカツキ") {
    const std::vector<Listed> named = {{3, "シルバーアロー", 120, 50},
                                       {7, nameOfSeven, speedOfSeven, 60},
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
    // Scrolled sideways, ID and 馬名 stay in sight, and their header still sorts.
    QScrollBar* across = table->horizontalScrollBar();
    across->setValue(across->maximum());
    EXPECT_GT(across->value(), 0);
    auto* frozen = table->findChild<QTableView*>("FrozenColumns");
    ASSERT_TRUE(frozen != nullptr && frozen->isVisible());
    EXPECT_TRUE(frozen->isColumnHidden(SpeedColumn));
    EXPECT_EQ(frozen->width(), table->columnWidth(0) + table->columnWidth(NameField));
    QHeaderView* frozenHeader = frozen->horizontalHeader();
    QTest::mouseClick(frozenHeader->viewport(), Qt::LeftButton, {},
                      QPoint(frozenHeader->sectionViewportPosition(0) + 5, 5));
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), 0);
    EXPECT_EQ(frozenHeader->sortIndicatorSection(), 0);
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
    // Each row reads as its horse; the columns fit their texts and the captions' sort arrows.
    EXPECT_EQ(table->model()->headerData(0, Qt::Vertical).toString(), "3 シルバーアロー");
    EXPECT_GE(table->columnWidth(NameField),
              table->fontMetrics().horizontalAdvance("シルバーアロー"));
    EXPECT_LT(table->columnWidth(0), 60);
    EXPECT_GE(table->columnWidth(SpeedColumn),
              table->horizontalHeader()->sectionSizeHint(SpeedColumn));

    auto* filter = table->window()->findChild<QLineEdit*>("FilterBox");
    EXPECT_EQ(filter->accessibleName(), "絞り込み");
    filter->setText("2400");
    EXPECT_EQ(Ids(table), (QStringList{"3", "7", "12", "20"}));
    // In the filter, the copy keys copy the rows shown unless text is selected; Down goes to
    // the first row.
    filter->setFocus();
    filter->deselect();
    QTest::keyClick(filter, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text().count('\n'), 5);
    QTest::keyClick(filter, Qt::Key_Down);
    EXPECT_EQ(SelectedIds(table), QStringList{"3"});
    EXPECT_TRUE(table->hasFocus());
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

    // In a light palette and in the program's dark one, the best value is readable on its
    // mark, each horse's chart colour stands out from the window as lines need (3:1), and in
    // the dark one every text is readable on what it is drawn on, greyed text too.
    const QModelIndex best = table->model()->index(0, PowerColumn);
    for (const bool dark : {false, true}) {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Base, Qt::white);
        QApplication::setPalette(dark ? DarkPalette() : palette);
        const QColor background = best.data(Qt::BackgroundRole).value<QColor>();
        const QColor text = best.data(Qt::ForegroundRole).value<QColor>();
        EXPECT_GE(ContrastRatio(background, text), 4.5) << dark;
        EXPECT_EQ(background.lightness() < 128, dark);
        EXPECT_TRUE(best.data(Qt::FontRole).value<QFont>().bold());
        const QColor window = QApplication::palette().color(QPalette::Window);
        for (const int horse : {0, 1})
            EXPECT_GE(ContrastRatio(TAbilityChart::HorseColor(horse), window), 3.0)
                << dark << " horse " << horse;
    }
    const QPalette dark = DarkPalette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (const auto& [text, background] : {std::pair{QPalette::WindowText, QPalette::Window},
                                               {QPalette::Text, QPalette::Base},
                                               {QPalette::ButtonText, QPalette::Button},
                                               {QPalette::ButtonText, QPalette::Window},
                                               {QPalette::HighlightedText, QPalette::Highlight},
                                               {QPalette::ToolTipText, QPalette::ToolTipBase},
                                               {QPalette::PlaceholderText, QPalette::Base}})
            EXPECT_GE(ContrastRatio(dark.color(group, text), dark.color(group, background)), 4.5)
                << group << " " << text << " on " << background;
    QApplication::setPalette(QPalette());
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
    auto* chart = compare->findChild<QWidget*>("AbilityChart");
    EXPECT_EQ(chart->accessibleName(), "能力チャート");
    // Ctrl+C on the chart copies it as an image.
    QApplication::clipboard()->clear();
    chart->setFocus();
    QTest::keyClick(chart, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->image().size(), chart->size() * chart->devicePixelRatio());

    // The file changes: アカツキ falls to 95; the order, the selection and the scroll stay.
    WriteFile("horses.dat", Horses(95));
    Reload();
    EXPECT_EQ(Ids(table).mid(0, 5), (QStringList{"3", "20", "7", "12", "30"}));
    EXPECT_EQ(SelectedIds(table), (QStringList{"20", "7"}));
    EXPECT_EQ(table->verticalScrollBar()->value(), 3);
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), SpeedColumn);
    EXPECT_EQ(ListTexts(rows)[2], (QStringList{"スピード", "95", "100", "-5"}));
    EXPECT_TRUE(rows->model()->index(2, 2).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_TRUE(chart->accessibleDescription().startsWith("スピード: A アカツキ 95, B カゼ 100"))
        << chart->accessibleDescription().toStdString();
    // With no row selected, Ctrl+C copies the current one after the captions.
    auto* compareView = compare->findChild<QTableView*>("CompareTable");
    compareView->setFocus();
    compareView->setCurrentIndex(compareView->model()->index(2, 0));
    compareView->clearSelection();
    QTest::keyClick(compareView, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "項目\tアカツキ\tカゼ\t差\nスピード\t95\t100\t-5\n");

    // Another horse comes to a compared slot: the comparison says so, and compares it.
    WriteFile("horses.dat", Horses(95, true, "アケボノ"));
    Reload();
    const QLabel* notice = compare->findChild<QLabel*>("GoneNotice");
    EXPECT_TRUE(notice->isVisibleTo(compare));
    EXPECT_TRUE(notice->text().contains("ID 7 は アカツキ から アケボノ に替わりました"))
        << notice->text().toStdString();
    EXPECT_EQ(rows->model()->headerData(1, Qt::Horizontal).toString(), "アケボノ");

    auto* filter = window->findChild<QLineEdit*>("FilterBox");
    filter->setText("2400");
    EXPECT_EQ(Ids(table), (QStringList{"3", "20", "7", "12"}));
    WriteFile("horses.dat", Horses(95, false));
    Reload();
    EXPECT_EQ(Ids(table), (QStringList{"3", "7", "12"}));
    EXPECT_EQ(filter->text(), "2400");
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
                                  "比較(&V) Ctrl+K", "推移(&G) Ctrl+G"}));
    EXPECT_FALSE(menu->actions()[3]->isEnabled());
    menu->close();

    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      table->visualRect(table->model()->index(2, 1)).center());
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    ASSERT_EQ(lines.size(), 4); // the captions, two rows and the last line's end
    EXPECT_TRUE(lines[0].startsWith("ID\t馬名\t父\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("3\tシルバーアロー\t")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("12\tゴールド\t")) << lines[2].toStdString();

    // The windows' keys work from each of them: Ctrl+H here opens the 変更点, Ctrl+T there
    // brings the 能力表 back; Tab leaves the table; Esc closes the window (at the end).
    QWidget* window = table->window();
    QTest::keyClick(table, Qt::Key_H, Qt::ControlModifier);
    auto* changes = form->findChild<QWidget*>("ChangesWindow");
    ASSERT_TRUE(changes != nullptr && changes->isVisible());
    QTest::keyClick(changes, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Tab);
    EXPECT_FALSE(table->hasFocus());

    // Ctrl+K with other than two rows says why nothing opened.
    table->selectRow(0);
    QTest::keyClick(table, Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(table->window()->findChild<QStatusBar*>()->currentMessage().contains("2 頭"));

    // The detail window opened here follows the file as the list's does.
    table->setCurrentIndex(table->model()->index(1, 1)); // アカツキ, スピード 120
    int shown = -1, followed = -1;
    ModalHandler detail("TDetailWindow", [&](QWidget* modal) {
        const auto* speed = modal->findChild<QLineEdit*>("E_Speed");
        shown = speed->text().toInt();
        WriteFile("horses.dat", Horses(95));
        viewer.Follower().Load(path, TFileFollower::Reason::Reload);
        followed = speed->text().toInt();
        modal->close();
    });
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(shown, 120);
    EXPECT_EQ(followed, 95);
    // The offscreen platform gives the closed dialog's parent no activation back; a window
    // manager does.
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
    QTest::keyClick(table, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

// 推移 of アカツキ (slot 7): opened from the list, a rewrite adds its point and its row.
TEST_F(AbilityTable, TrendChartsAndTabulatesEachVersionAndCopiesTheChartAsAnImage) {
    const qint64 nine = QDateTime(QDate(2026, 12, 10), QTime(9, 0)).toMSecsSinceEpoch();
    qint64 now = nine;
    viewer.Follower().Clock = [&now] { return QDateTime::fromMSecsSinceEpoch(now, Qt::UTC); };
    OpenThroughMenu(path);
    List()->setFocus();
    List()->selectRow(1);
    QTest::keyClick(List(), Qt::Key_G, Qt::ControlModifier);
    auto* window = form->findChild<TTrendWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "推移 — アカツキ");
    EXPECT_TRUE(window->findChild<QLabel*>("TrendNotice")->isVisibleTo(window));

    now = nine + 5000;
    WriteFile("horses.dat", Horses(95));
    Reload();
    EXPECT_FALSE(window->findChild<QLabel*>("TrendNotice")->isVisibleTo(window));
    QApplication::clipboard()->clear();
    QTest::keyClick(window->Table(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "時刻\tスピード\t持続力\tスタミナ\tパワー\t瞬発力\t折り合い\t気性\t勝負根性\t"
              "反応\t丈夫さ\t距離適性\n"
              "09:00:05\t95 (-25)\t88\t101\t60\t0\t64\t12\t100\t255\t9\t1600 - 2400\n"
              "09:00:00\t120\t88\t101\t60\t0\t64\t12\t100\t255\t9\t1600 - 2400\n");
    TTrendPlot* plot = window->Chart()->Plot();
    EXPECT_EQ(plot->accessibleName(), "推移チャート");
    EXPECT_TRUE(
        plot->accessibleDescription().startsWith("スピード 120 → 95 (-25)、持続力 88 → 88 (0)、"))
        << plot->accessibleDescription().toStdString();

    // Values from 0 (瞬発力) to 255 (反応): the axis runs 0 to 260, time from 9:00:00 to 9:00:05.
    const std::vector<TrendPoint> points = {
        {nine, {120, 88, 101, 60, 0, 64, 12, 100, 255, 9}},
        {nine + 5000, {95, 88, 101, 60, 0, 64, 12, 100, 255, 9}}};
    const TrendAxes axes = AxesFor(points, ShownAbilities().set());
    EXPECT_EQ(std::tuple(axes.FirstMs, axes.LastMs, axes.Least, axes.Greatest),
              std::tuple(nine, nine + 5000, 0, 260));
    const QRectF area(10, 20, 200, 260);
    EXPECT_EQ(TrendChartPoint(area, axes, nine, 120), QPointF(10, 160));
    EXPECT_EQ(TrendChartPoint(area, axes, nine + 5000, 95), QPointF(210, 185));
    EXPECT_EQ(TrendChartPoint(area, axes, nine + 2500, 0), QPointF(110, 280));
    EXPECT_EQ(ValueTicks(axes), (std::vector{0, 50, 100, 150, 200, 250}));
    // Each line stands out by 3:1 in a light and a dark theme, and no two share their marker,
    // its fill and their dash, for a reader who cannot tell the colours apart.
    std::set<std::tuple<MarkerShape, bool, bool>> looks;
    for (int ability = 0; ability < BasicAbilityCount; ++ability) {
        for (const QRgb background : {0xFFFFFFu, 0xEFEFEFu, 0x2B2B2Bu, 0x000000u})
            EXPECT_GE(
                ContrastRatio(TrendLineLook(ability, QColor(background)).Color, QColor(background)),
                3.0)
                << ability << " on " << std::hex << background;
        const LineLook look = TrendLineLook(ability, Qt::white);
        looks.emplace(look.Shape, look.Hollow, look.Dashed);
    }
    EXPECT_EQ(looks.size(), std::size_t{BasicAbilityCount});
    // Hovering on the newest スピード finds it; with its legend entry off (Space), it is gone.
    const QPointF newest = TrendChartPoint(plot->PlotArea(), axes, nine + 5000, 95);
    EXPECT_EQ(plot->PointNear(newest), std::pair(0, std::size_t{1}));
    QCheckBox* speed = window->Chart()->LegendEntry(0);
    speed->setFocus();
    QTest::keyClick(speed, Qt::Key_Space);
    EXPECT_FALSE(speed->isChecked());
    const auto near = plot->PointNear(newest);
    EXPECT_TRUE(!near || near->first != 0);

    QApplication::clipboard()->clear();
    plot->setFocus();
    QTest::keyClick(plot, Qt::Key_C, Qt::ControlModifier);
    const QImage image = QApplication::clipboard()->image();
    EXPECT_EQ(image.size(), window->Chart()->size() * window->devicePixelRatio());

    // From the 能力表, its current row's horse, in the same window.
    QTest::keyClick(form, Qt::Key_T, Qt::ControlModifier);
    auto* table = form->findChild<TAbilityTableWindow*>();
    ASSERT_TRUE(table != nullptr &&
                QTest::qWaitFor([table] { return QApplication::activeWindow() == table; }));
    table->View()->setCurrentIndex(table->View()->model()->index(0, 1));
    QTest::keyClick(table->View(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(form->findChildren<TTrendWindow*>().size(), 1);
    EXPECT_EQ(window->windowTitle(), "推移 — シルバーアロー");
    // Esc closes it, as it closes the other windows beside the list.
    ASSERT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
    QTest::keyClick(window->Table(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
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

// The list's window as it opens, frame and all, and the two windows beside it at their first
// sizes with their frames.
const QRect ListFrame(192, 107, 806, 530);
constexpr QSize TableSize(1006, 510), CompareSize(906, 550), LogSize(726, 350), Least(300, 200);
constexpr SideOrder RightFirst = {Side::Right, Side::Below, Side::Left, Side::Above};
constexpr SideOrder BelowFirst = {Side::Below, Side::Right, Side::Left, Side::Above};

TEST(WindowPlacement, BesideTheListWholeOnTheScreenAndOverNoOtherWhereRoomAllows) {
    const auto placed = [](QSize size, const QRect& screen, const SideOrder& sides,
                           const QList<QRect>& others) {
        const QRect window = PlacedBeside(size, Least, ListFrame, screen, sides, others);
        EXPECT_TRUE(screen.contains(window)) << window.x() << "," << window.y();
        EXPECT_FALSE(window.intersects(ListFrame)) << window.x() << "," << window.y();
        return window;
    };
    // Room on every side: the first side in order, at the list's top or left edge.
    const QRect large(0, 0, 2560, 1400);
    const QRect table = placed(TableSize, large, RightFirst, {});
    EXPECT_EQ(table, QRect(QPoint(ListFrame.right() + 1, ListFrame.top()), TableSize));
    const QRect log = placed(LogSize, large, BelowFirst, {table});
    EXPECT_EQ(log, QRect(QPoint(ListFrame.left(), ListFrame.bottom() + 1), LogSize));
    // The right side has room for the 比較 whole, but only over the 能力表: it goes below the
    // 能力表, still on the right.
    const QRect compare = placed(CompareSize, large, RightFirst, {table, log});
    EXPECT_FALSE(compare.intersects(table) || compare.intersects(log));
    EXPECT_EQ(compare.size(), CompareSize);
    EXPECT_GT(compare.left(), ListFrame.right());

    // 1600x1000: no side takes the 能力表 whole, so it is made smaller where most of it shows;
    // the 比較 then goes where it covers neither.
    const QRect middle(0, 0, 1600, 1000);
    const QRect smallerTable = placed(TableSize, middle, RightFirst, {});
    const QRect beside = placed(CompareSize, middle, RightFirst, {smallerTable});
    EXPECT_FALSE(beside.intersects(smallerTable));
    EXPECT_GE(beside.width(), Least.width());
    // The 変更点 too would fit whole only over one of them: made smaller, it covers neither.
    const QRect smallerLog = placed(LogSize, middle, BelowFirst, {smallerTable, beside});
    EXPECT_FALSE(smallerLog.intersects(smallerTable) || smallerLog.intersects(beside));

    // 1280x720: the roomiest side is narrower than the window's least size; it is made smaller
    // still rather than run past the screen's edge or over the list.
    const QRect small(0, 0, 1280, 720);
    const QRect narrow = placed(TableSize, small, RightFirst, {});
    EXPECT_EQ(narrow, QRect(ListFrame.right() + 1, ListFrame.top(), 1280 - ListFrame.right() - 1,
                            TableSize.height()));
    EXPECT_FALSE(placed(CompareSize, small, RightFirst, {narrow}).intersects(narrow));
}

// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The whole load of a file into the main window, on the offscreen platform, against filling
// the same texts into a bare table; both with 0, 1 and 64 listed horses.
#include "BenchHorses.h"
#include "OffscreenPlatform.h"
#include "Paired.h"

#include "U_AbilityTableWindow.h"
#include "U_Analyze.h"
#include "U_DataModules.h"
#include "U_FileAccess.h"
#include "U_HorseFields.h"
#include "U_HorseListView.h"
#include "U_HorseRow.h"
#include "U_HorseStatus.h"
#include "U_ListSide.h"
#include "U_MainWindow.h"
#include "U_Startup.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <QTableWidget>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

namespace {

// The running viewer's follower, which the windows beside the list follow.
TFileFollower* Follower = nullptr;

using RowTexts = std::vector<QStringList>;

// The texts the list must show for BenchBlock(listed), built apart from the window.
RowTexts ExpectedRows(int listed) {
    TDM_HorseStatus table;
    TDM_Analyze(table).AnalyzeBlock(BenchBlock(listed));
    RowTexts rows;
    for (int i = 0; i < listed; ++i) {
        QStringList texts;
        for (const std::string& text : HorseRow(table, i))
            texts << QString::fromStdString(text);
        rows.push_back(texts);
    }
    return rows;
}

bool TableShows(const QAbstractItemView& list, const RowTexts& rows,
                int columns = HorseRowColumnCount) {
    const QAbstractItemModel& model = *list.model();
    if (model.rowCount() != static_cast<int>(rows.size()))
        return false;
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < columns; ++column)
            if (model.index(row, column).data().toString() != rows[row][column])
                return false;
    return true;
}

const BenchFile& FileWithListed(int listed) {
    static std::map<int, std::unique_ptr<BenchFile>> files;
    std::unique_ptr<BenchFile>& file = files[listed];
    if (!file)
        file = std::make_unique<BenchFile>(BenchBlock(listed));
    return *file;
}

// Floor of the load: the texts are ready and go straight into a table left as Qt makes it.
void FillTable(QTableWidget& table, const RowTexts& rows) {
    table.setRowCount(0);
    table.setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        for (int column = 0; column < HorseRowColumnCount; ++column)
            table.setItem(row, column, new QTableWidgetItem(rows[row][column]));
}

// The whole load of a file whose first `listed` slots are listed, beside filling the same
// texts into a bare table of the list's size, shown like the list.
void BM_LoadHorseFile(benchmark::State& state) {
    const int listed = static_cast<int>(state.range(0));
    const QString path = QString::fromStdString(FileWithListed(listed).Path());
    auto* list = MainForm->findChild<QTableView*>(QStringLiteral("HorseListView"));
    const RowTexts rows = ExpectedRows(listed);
    QTableWidget bare(0, HorseRowColumnCount);
    bare.resize(list->size());
    bare.show();
    QCoreApplication::processEvents();
    RunPaired(
        state, 1, [&] { MainForm->LoadHorseFile(path); }, 1, [&] { FillTable(bare, rows); });
    if (!TableShows(*list, rows))
        state.SkipWithError("the list does not show the horses of the file");
    if (!TableShows(bare, rows))
        state.SkipWithError("the bare table does not show the texts");
}
BENCHMARK(BM_LoadHorseFile)->Arg(0)->Arg(1)->Arg(64)->UseManualTime();

// A table of ready texts, for the floor of opening the 能力表.
class TTextsModel : public QAbstractTableModel {
public:
    TTextsModel(const RowTexts& rows, QStringList captions)
        : rows_(rows), captions_(std::move(captions)) {}
    int rowCount(const QModelIndex& = {}) const override { return static_cast<int>(rows_.size()); }
    int columnCount(const QModelIndex& = {}) const override {
        return static_cast<int>(captions_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        return role == Qt::DisplayRole ? rows_[index.row()][index.column()] : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        return orientation == Qt::Horizontal && role == Qt::DisplayRole ? captions_[section]
                                                                        : QVariant();
    }

private:
    const RowTexts& rows_;
    QStringList captions_;
};

// Opening the 能力表 on the 64 horses of the loaded file, made, shown and painted, against a
// bare QTableView over a model of the same texts made ready beforehand, of the same size and
// with the same column widths: the table fits its columns to their texts, and narrower columns
// show more cells to paint.
void BM_OpenAbilityTable(benchmark::State& state) {
    MainForm->LoadHorseFile(QString::fromStdString(FileWithListed(RecordCount).Path()));
    RowTexts rows;
    for (int i = 0; i < RecordCount; ++i) {
        QStringList texts;
        for (int field = 0; field < SlotStateField; ++field)
            texts << QString::fromStdString(FieldText(*DM_HorseStatus, field, i));
        rows.push_back(texts);
    }
    QStringList captions;
    for (int field = 0; field < SlotStateField; ++field)
        captions << QString::fromUtf8(HorseFields[field].Caption);
    QSize size;
    std::vector<int> widths; // the table's columns as fitted to their texts
    bool shown = false;
    RunPaired(
        state, 1,
        [&] {
            TListSide side(*MainForm, MainForm->ListView(), *Follower, [](int, QWidget&) {});
            TAbilityTableWindow window(side);
            window.show();
            benchmark::DoNotOptimize(window.grab());
            size = window.View()->size();
            widths.clear();
            for (int column = 0; column < window.View()->model()->columnCount(); ++column)
                widths.push_back(window.View()->columnWidth(column));
            shown = TableShows(*window.View(), rows, SlotStateField);
        },
        1,
        [&] {
            QTableView bare;
            TTextsModel model(rows, captions);
            bare.setModel(&model);
            bare.resize(size.isValid() ? size : QSize(980, 400));
            for (std::size_t column = 0; column < widths.size(); ++column)
                bare.setColumnWidth(static_cast<int>(column), widths[column]);
            bare.show();
            benchmark::DoNotOptimize(bare.grab());
        });
    if (!shown)
        state.SkipWithError("the 能力表 does not show the horses of the file");
}
BENCHMARK(BM_OpenAbilityTable)->UseManualTime();

// Two parts of the load, for seeing where its time goes: reading and decoding the block, and
// making the texts of 64 rows as the list's strings.
void BM_ReadAndDecode(benchmark::State& state) {
    const std::string path = FileWithListed(RecordCount).Path();
    auto block = std::make_unique<HorseBlock>();
    for (auto _ : state) {
        DM_FileAccess->ReadHorseBlock(path, HorseBlockSize, *block);
        DM_Analyze->AnalyzeBlock(*block);
    }
}
BENCHMARK(BM_ReadAndDecode)->Unit(benchmark::kMicrosecond);

void BM_RowTexts(benchmark::State& state) {
    const int listed = static_cast<int>(state.range(0));
    TDM_HorseStatus table;
    TDM_Analyze(table).AnalyzeBlock(BenchBlock(listed));
    for (auto _ : state) {
        for (int i = 0; i < listed; ++i) {
            const HorseRowTexts texts = HorseRow(table, i);
            for (const std::string& text : texts) {
                QString converted = QString::fromStdString(text);
                benchmark::DoNotOptimize(converted);
            }
        }
    }
}
BENCHMARK(BM_RowTexts)->Arg(64)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    PreferOffscreenPlatform();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication application(argc, argv);
    SetUpApplication();

    // The program's own start-up, so that the load runs in the window the user sees.
    const TViewer viewer;
    Follower = &viewer.Follower();
    MainForm->show();
    QCoreApplication::processEvents();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

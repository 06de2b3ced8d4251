// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Following the file, on the offscreen platform, in the main window as start-up makes it:
//     stallark-bench-follow [benchmark options]   a reload's CPU time against LoadHorseFile
//     stallark-bench-follow --latency WRITES      from a writer's close to the new rows
//     stallark-bench-follow --idle SECONDS        wake-ups following no file, then an unchanging
//     one
//     stallark-bench-follow --log-memory          the heap a full 変更点 log takes
//     stallark-bench-follow --history-memory      the heap of 1,000 versions of 64 horses kept
// The last four print JSON.
#include "BenchHorses.h"
#include "HorseFileWriter.h"
#include "OffscreenPlatform.h"
#include "Paired.h"

#include "U_AbilityTableWindow.h"
#include "U_ChangeLog.h"
#include "U_CompareWindow.h"
#include "U_FileAccess.h"
#include "U_FileFollower.h"
#include "U_MainWindow.h"
#include "U_Startup.h"
#include "U_TrendChart.h"
#include "U_TrendWindow.h"

#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

// The running viewer's follower, which reads every version and stamps it with its clock.
TFileFollower* Follower = nullptr;

QTableView* List() {
    return MainForm->findChild<QTableView*>(QStringLiteral("HorseListView"));
}

// A reload as a change to the file brings it, a row selected, against loading the same file
// through LoadHorseFile, the same row selected first.
void BM_ReloadFollowedFile(benchmark::State& state) {
    const BenchFile file(BenchBlock(RecordCount));
    const QString path = QString::fromStdString(file.Path());
    MainForm->LoadHorseFile(path);
    QTableView* list = List();
    RunPaired(
        state, 1,
        [&] {
            list->selectRow(10);
            MainForm->ReloadFollowedFile();
        },
        1,
        [&] {
            list->selectRow(10);
            MainForm->LoadHorseFile(path);
        });
    if (list->model()->rowCount() != RecordCount)
        state.SkipWithError("the list does not show the horses of the file");
    list->selectRow(10);
    MainForm->ReloadFollowedFile();
    if (list->selectionModel()->selectedRows().value(0).row() != 10)
        state.SkipWithError("the reload lost the selected row");
    MainForm->LoadHorseFile(path);
    if (!list->selectionModel()->selectedRows().isEmpty())
        state.SkipWithError("LoadHorseFile left a row selected");
}
BENCHMARK(BM_ReloadFollowedFile)->UseManualTime();

// A version in which the ten abilities of the first `trained` horses have grown (a row each in
// the log) shown with the 変更点 log recording, against the same load with nothing listening
// for the versions shown. The two files are loaded in turn, each a second later than the one
// before by the log's clock, so that every one is logged; the log is kept full.
void BM_ReloadWithChangeLog(benchmark::State& state) {
    const int trained = static_cast<int>(state.range(0));
    const BenchFile files[] = {BenchFile(BenchBlock(RecordCount)),
                               BenchFile(BenchBlock(RecordCount, 1, trained))};
    const QString paths[] = {QString::fromStdString(files[0].Path()),
                             QString::fromStdString(files[1].Path())};
    auto* log = MainForm->findChild<THorseChangeLog*>();
    QDateTime at = QDateTime::currentDateTimeUtc();
    Follower->Clock = [&at] { return at = at.addSecs(2); };
    QTableView* list = List();
    MainForm->LoadHorseFile(paths[1]); // the version the first one logged is compared with
    int logged = 0, unlogged = 0;
    const auto load = [&](int& turn) {
        list->selectRow(10);
        MainForm->LoadHorseFile(paths[turn++ % 2]);
    };
    RunPaired(
        state, 1, [&] { load(logged); }, 1,
        [&] {
            // The log alone does not hear of this version; the list shows it as ever.
            QObject::disconnect(Follower, &TFileFollower::VersionShown, log,
                                &THorseChangeLog::RecordShown);
            load(unlogged);
            QObject::connect(Follower, &TFileFollower::VersionShown, log,
                             &THorseChangeLog::RecordShown);
        });
    Follower->Clock = &QDateTime::currentDateTimeUtc;
    if (log->rowCount() < 10 * trained ||
        log->index(0, 7).data().toString() != (logged % 2 == 0 ? "+1" : "-1"))
        state.SkipWithError("the log does not hold the last version's changes");
}
// A save after one horse's training, after a week of the game, and one in which every horse
// grew.
BENCHMARK(BM_ReloadWithChangeLog)->Arg(1)->Arg(8)->Arg(RecordCount)->UseManualTime();

// A reload with the 能力表 and a 比較 open, against the same reload with both closed; each
// with its windows painted after it.
void BM_ReloadWithTableAndComparison(benchmark::State& state) {
    const BenchFile file(BenchBlock(RecordCount));
    MainForm->LoadHorseFile(QString::fromStdString(file.Path()));
    MainForm->findChild<QAction*>(QStringLiteral("AbilityTable1"))->trigger();
    auto* table = MainForm->findChild<TAbilityTableWindow*>();
    table->View()->selectRow(0);
    table->View()->selectionModel()->select(table->View()->model()->index(1, 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
    table->findChild<QAction*>(QStringLiteral("Compare1"))->trigger();
    TCompareWindow* compare = table->CompareWindow();
    const auto reload = [] {
        List()->selectRow(10);
        MainForm->ReloadFollowedFile();
        QCoreApplication::processEvents();
    };
    RunPaired(
        state, 1, reload, 1, reload,
        [&] {
            table->show();
            compare->show();
            QCoreApplication::processEvents();
        },
        [&] {
            compare->hide();
            table->hide();
            QCoreApplication::processEvents();
        });
    table->show();
    compare->show();
    if (table->View()->model()->rowCount() != RecordCount ||
        table->View()->selectionModel()->selectedRows().size() != 2 ||
        compare->findChild<QTableView*>(QStringLiteral("CompareTable"))->model()->rowCount() !=
            ComparedFieldCount)
        state.SkipWithError("the windows do not show the horses after the reload");
    compare->close();
    table->close();
}
BENCHMARK(BM_ReloadWithTableAndComparison)->UseManualTime();

// The same loads with the 変更点 log, with the 推移 history recording each version too, against
// the history not hearing of them; the history is kept full.
void BM_ReloadWithTrendHistory(benchmark::State& state) {
    const BenchFile files[] = {BenchFile(BenchBlock(RecordCount)),
                               BenchFile(BenchBlock(RecordCount, 1, 1))};
    const QString paths[] = {QString::fromStdString(files[0].Path()),
                             QString::fromStdString(files[1].Path())};
    auto* recorder = MainForm->findChild<TTrendRecorder*>();
    QDateTime at = QDateTime::currentDateTimeUtc();
    Follower->Clock = [&at] { return at = at.addSecs(2); };
    QTableView* list = List();
    int turn = 0;
    const auto load = [&] {
        list->selectRow(10);
        MainForm->LoadHorseFile(paths[turn++ % 2]);
    };
    while (recorder->History().VersionCount(paths[1].toStdString()) < THorseHistory::MaxVersions)
        load();
    // The history alone does not hear of the floor's versions; the list and the log do.
    const auto hearing = [recorder](bool hears) {
        QObject::disconnect(Follower, &TFileFollower::VersionShown, recorder, nullptr);
        if (hears)
            QObject::connect(Follower, &TFileFollower::VersionShown, recorder,
                             &TTrendRecorder::Record);
    };
    RunPaired(
        state, 1, load, 1, load, [&] { hearing(true); }, [&] { hearing(false); });
    hearing(true);
    load();
    Follower->Clock = &QDateTime::currentDateTimeUtc;
    const std::string last = paths[(turn - 1) % 2].toStdString();
    const std::vector<TrendPoint> versions = recorder->History().Versions(last, 0);
    if (versions.empty() || versions.back().Values[0] != DM_HorseStatus->Speed[0])
        state.SkipWithError("the history does not hold the version shown last");
}
BENCHMARK(BM_ReloadWithTrendHistory)->UseManualTime();

// The 推移 plot of 1,000 versions, every line shown, drawn whole into an image, against drawing
// the same points with one QPainter::drawPolyline per ability in the same pens.
void BM_DrawTrendChart(benchmark::State& state) {
    std::vector<TrendPoint> points(THorseHistory::MaxVersions);
    for (std::size_t n = 0; n < points.size(); ++n) {
        points[n].Ms = 1'700'000'000'000 + static_cast<std::int64_t>(n) * 60'000;
        for (int value = 0; value < TrendValueCount; ++value)
            points[n].Values[value] =
                40 + 25 * value + static_cast<int>(8 * std::sin(0.05 * static_cast<double>(n)));
    }
    TTrendPlot plot;
    plot.resize(800, 400);
    plot.SetPoints(points);
    const QRectF area = plot.PlotArea();
    const TrendAxes axes = AxesFor(points, ShownAbilities().set());
    std::array<QPolygonF, BasicAbilityCount> lines;
    std::array<QPen, BasicAbilityCount> pens;
    for (int ability = 0; ability < BasicAbilityCount; ++ability) {
        for (const TrendPoint& point : points)
            lines[ability] << TrendChartPoint(area, axes, point.Ms, point.Values[ability]);
        const LineLook look = TrendLineLook(ability, plot.palette().color(QPalette::Window));
        pens[ability] = QPen(look.Color, 2);
        if (look.Dashed)
            pens[ability].setDashPattern({4, 2});
    }
    QImage chart(plot.size(), QImage::Format_ARGB32_Premultiplied);
    QImage bare(plot.size(), QImage::Format_ARGB32_Premultiplied);
    bare.fill(Qt::transparent);
    RunPaired(
        state, 1, [&] { plot.render(&chart); }, 1,
        [&] {
            QPainter painter(&bare);
            painter.setRenderHint(QPainter::Antialiasing);
            for (int ability = 0; ability < BasicAbilityCount; ++ability) {
                painter.setPen(pens[ability]);
                painter.drawPolyline(lines[ability]);
            }
        });
    // The newest スピード has its marker, in its colour, where the bare line ends.
    const QPoint newest = lines[0].back().toPoint();
    if (chart.pixelColor(newest) != pens[0].color() || bare.pixelColor(newest).alpha() == 0)
        state.SkipWithError("the chart does not draw the newest スピード");
}
BENCHMARK(BM_DrawTrendChart)->UseManualTime();

// A reload with the 能力表 open and a 評価式 of twelve terms, against the same reload with the
// field empty; each with the table painted after it.
void BM_ReloadWithScore(benchmark::State& state) {
    const BenchFile file(BenchBlock(RecordCount));
    MainForm->LoadHorseFile(QString::fromStdString(file.Path()));
    MainForm->findChild<QAction*>(QStringLiteral("AbilityTable1"))->trigger();
    auto* table = MainForm->findChild<TAbilityTableWindow*>();
    auto* score = table->findChild<QLineEdit*>(QStringLiteral("ScoreBox"));
    const auto reload = [] {
        List()->selectRow(10);
        MainForm->ReloadFollowedFile();
        QCoreApplication::processEvents();
    };
    const auto scoring = [score](const QString& text) {
        return [score, text] {
            score->setText(text);
            QCoreApplication::processEvents();
        };
    };
    RunPaired(state, 1, reload, 1, reload, scoring(QString::fromStdString(TwelveTermScore)),
              scoring({}));
    scoring(QString::fromStdString(TwelveTermScore))();
    reload();
    if (table->View()->model()->columnCount() != SlotStateField + 1 ||
        table->View()->model()->rowCount() != RecordCount)
        state.SkipWithError("the 能力表 does not show 評価 after the reload");
    score->clear();
    table->close();
}
BENCHMARK(BM_ReloadWithScore)->UseManualTime();

double NowMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Writes that alternate between 64 and 63 listed horses, each truncating and writing the file
// whole; the time from its close to the model reset that lists the new rows.
int Latency(int writes) {
    const HorseBlock blocks[] = {BenchBlock(RecordCount), BenchBlock(RecordCount - 1)};
    const BenchFile file(blocks[0]);
    MainForm->LoadHorseFile(QString::fromStdString(file.Path()));
    QTableView* list = List();
    std::vector<double> latencies;
    for (int n = 1; n <= writes; ++n) {
        const int rows = RecordCount - n % 2;
        QEventLoop loop;
        double shown = 0;
        const QMetaObject::Connection reset =
            QObject::connect(list->model(), &QAbstractItemModel::modelReset, [&] {
                if (list->model()->rowCount() == rows) {
                    shown = NowMs();
                    loop.quit();
                }
            });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        WriteHorseFile(file.Path(), HorseFileLayouts[0].FileSize, blocks[n % 2]);
        const double closed = NowMs();
        loop.exec();
        QObject::disconnect(reset);
        if (shown == 0) {
            std::fprintf(stderr, "write %d: the list did not show the new rows\n", n);
            return 1;
        }
        latencies.push_back(shown - closed);
    }
    std::printf("{\"quiet_period_ms\": %d, \"latencies_ms\": [", TFileFollower::QuietPeriodMs);
    for (std::size_t n = 0; n < latencies.size(); ++n)
        std::printf("%s%.3f", n == 0 ? "" : ", ", latencies[n]);
    std::printf("]}\n");
    return 0;
}

struct Wakeups {
    long EventLoop; // the main thread's event loop waking
    long Switches;  // the process's context switches, every thread
};

// After a second for the window to settle (its first paint of the rows), as a viewer left
// alone beside the game is.
Wakeups IdleFor(int seconds) {
    QEventLoop settle;
    QTimer::singleShot(1000, &settle, &QEventLoop::quit);
    settle.exec();
    long woken = 0;
    const QMetaObject::Connection awake = QObject::connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] { ++woken; });
    const auto switches = [] {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return usage.ru_nvcsw + usage.ru_nivcsw;
    };
    const long before = switches();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const Wakeups counted{woken, switches() - before};
    QObject::disconnect(awake);
    return counted;
}

// Following no file, then an unchanging one; each count includes the one timer that ends it.
int Idle(int seconds) {
    const BenchFile file(BenchBlock(RecordCount));
    const Wakeups none = IdleFor(seconds);
    MainForm->LoadHorseFile(QString::fromStdString(file.Path()));
    QCoreApplication::processEvents();
    const Wakeups following = IdleFor(seconds);
    std::printf("{\"seconds\": %d, \"none\": {\"event_loop\": %ld, \"switches\": %ld}, "
                "\"following\": {\"event_loop\": %ld, \"switches\": %ld}}\n",
                seconds, none.EventLoop, none.Switches, following.EventLoop, following.Switches);
    return 0;
}

// The heap that 10,000 rows of the log take above the log holding a version and no row, the
// rows those of versions in which every horse's ten abilities grew.
int LogMemory() {
    THorseChangeLog log;
    QDateTime at = QDateTime::currentDateTimeUtc();
    const auto show = [&](int trained) {
        const BenchFile file(BenchBlock(RecordCount, trained));
        MainForm->LoadHorseFile(QString::fromStdString(file.Path()));
        log.Record(*DM_HorseStatus, QString::fromStdString(file.Path()), at = at.addSecs(2));
    };
    show(0);
    const std::size_t empty = ::mallinfo2().uordblks;
    for (int trained = 1; log.rowCount() < THorseChangeLog::MaxRows; ++trained)
        show(trained);
    show(100); // and once more full
    const std::size_t full = ::mallinfo2().uordblks;
    std::printf("{\"rows\": %d, \"bytes\": %zu}\n", log.rowCount(), full - empty);
    return log.rowCount() == THorseChangeLog::MaxRows ? 0 : 1;
}

// The heap that 1,000 versions of 64 listed horses take in the 推移 history, above an empty
// one; the versions alternate between two files' worth of values, two seconds apart.
int HistoryMemory() {
    std::array<TDM_HorseStatus, 2> tables;
    for (int trained = 0; trained < 2; ++trained) {
        const BenchFile file(BenchBlock(RecordCount, trained));
        MainForm->LoadHorseFile(QString::fromStdString(file.Path()));
        tables[trained] = *DM_HorseStatus;
    }
    // A block as large as the ring is mapped apart from the heap's arena: both are counted.
    const auto used = [] {
        const struct mallinfo2 heap = ::mallinfo2();
        return heap.uordblks + heap.hblkhd;
    };
    const std::size_t empty = used();
    THorseHistory history;
    const std::string path = "bench.dat";
    for (std::size_t n = 0; n <= THorseHistory::MaxVersions; ++n)
        history.Record(tables[n % 2], path, static_cast<std::int64_t>(n) * 2000);
    const std::size_t full = used();
    std::printf("{\"versions\": %zu, \"horses\": %d, \"bytes\": %zu}\n", history.VersionCount(path),
                RecordCount, full - empty);
    return history.VersionCount(path) == THorseHistory::MaxVersions &&
                   history.Versions(path, RecordCount - 1).size() == THorseHistory::MaxVersions
               ? 0
               : 1;
}

} // namespace

int main(int argc, char** argv) {
    PreferOffscreenPlatform();
    const bool logMemory = argc == 2 && (std::strcmp(argv[1], "--log-memory") == 0 ||
                                         std::strcmp(argv[1], "--history-memory") == 0);
    const std::string mode = argc == 3 || logMemory ? argv[1] : "";
    if (mode != "--latency" && mode != "--idle" && mode != "--log-memory" &&
        mode != "--history-memory") {
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            return 1;
    }
    QApplication application(argc, argv);
    SetUpApplication();
    const TViewer viewer;
    Follower = &viewer.Follower();
    MainForm->show();
    QCoreApplication::processEvents();

    if (mode == "--latency")
        return Latency(std::atoi(argv[2]));
    if (mode == "--idle")
        return Idle(std::atoi(argv[2]));
    if (mode == "--log-memory")
        return LogMemory();
    if (mode == "--history-memory")
        return HistoryMemory();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

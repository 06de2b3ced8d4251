// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_TrendWindow.h"

#include "U_AbilityTableWindow.h"
#include "U_Comparison.h"
#include "U_ErrorDisplay.h"
#include "U_ListSide.h"
#include "U_ReportView.h"
#include "U_TrendChart.h"
#include "U_WindowOpener.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>

#include <algorithm>
#include <optional>

namespace {

QString Difference(std::int32_t difference) {
    return QString::fromStdString(SignedText(difference));
}

// The horse the command was given for: the 能力表's current row when the 能力表 has the
// keyboard, else the list's selected row. Both show the slot in their first column.
std::optional<int> ChosenHorse(const TListSide& side) {
    QModelIndex chosen;
    if (auto* table = qobject_cast<TAbilityTableWindow*>(QApplication::activeWindow()))
        chosen = table->View()->currentIndex();
    else if (const QModelIndexList rows = side.List().selectionModel()->selectedRows();
             !rows.isEmpty())
        chosen = rows.front();
    if (!chosen.isValid())
        return std::nullopt;
    return chosen.siblingAtColumn(0).data().toInt();
}

QString ValueText(std::int32_t value, std::optional<std::int32_t> before) {
    if (!before || *before == value)
        return QString::number(value);
    return QStringLiteral("%1 (%2)").arg(value).arg(Difference(value - *before));
}

// 1200 - 2400, and the ends that moved: 1200 - 2600 (上限 +200).
QString DistanceText(const TrendPoint& point, const TrendPoint* before) {
    const std::int32_t lower = point.Values[LowerDistanceValue];
    const std::int32_t upper = point.Values[UpperDistanceValue];
    QString text = QStringLiteral("%1 - %2").arg(lower).arg(upper);
    QStringList moved;
    if (before != nullptr && before->Values[LowerDistanceValue] != lower)
        moved << QString::fromUtf8("下限 ") +
                     Difference(lower - before->Values[LowerDistanceValue]);
    if (before != nullptr && before->Values[UpperDistanceValue] != upper)
        moved << QString::fromUtf8("上限 ") +
                     Difference(upper - before->Values[UpperDistanceValue]);
    if (!moved.isEmpty())
        text += QStringLiteral(" (%1)").arg(moved.join(QStringLiteral(", ")));
    return text;
}

} // namespace

void TTrendModel::Fill(const std::vector<TrendPoint>& points) {
    beginResetModel();
    rows_.clear();
    const bool withDate = SpansDays(points);
    const TrendPoint* before = nullptr;
    for (const TrendPoint& point : points) {
        if (before != nullptr && before->Values == point.Values)
            continue;
        std::array<QString, TrendColumnCount>& row = rows_.emplace_back();
        row[0] = TrendTimeText(point.Ms, withDate);
        for (int ability = 0; ability < BasicAbilityCount; ++ability)
            row[1 + ability] = ValueText(point.Values[ability],
                                         before != nullptr ? std::optional(before->Values[ability])
                                                           : std::nullopt);
        row[TrendColumnCount - 1] = DistanceText(point, before);
        before = &point;
    }
    std::reverse(rows_.begin(), rows_.end());
    endResetModel();
}

int TTrendModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TTrendModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TrendColumnCount;
}

QVariant TTrendModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return rows_[static_cast<std::size_t>(index.row())][index.column()];
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TTrendModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= TrendColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return QString::fromUtf8("時刻");
    if (section == TrendColumnCount - 1)
        return QString::fromUtf8("距離適性");
    return QString::fromUtf8(BasicAbilityFields[section - 1].Caption);
}

TTrendWindow::TTrendWindow(const THorseHistory& history, QWidget* parent)
    : QMainWindow(parent, Qt::Window), history_(history), model_(new TTrendModel(this)),
      view_(new TReportView(this)), chart_(new TTrendChart(this)), notice_(new QLabel(this)) {
    setObjectName("TrendWindow");
    notice_->setObjectName("TrendNotice");
    notice_->setWordWrap(true);
    notice_->hide();
    view_->setObjectName("TrendTable");
    view_->setAccessibleName(QString::fromUtf8("推移の表"));
    view_->ShowRows(model_);
    UseReportRowHeight(*view_);
    view_->horizontalHeader()->setSectionsClickable(false);

    auto* content = new QWidget(this);
    setCentralWidget(content);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(notice_);
    layout->addWidget(chart_, 3);
    layout->addWidget(view_, 2);
    resize(820, 720);
    CloseOnEscape(*this);
    // The rows take the keyboard first, as in the other windows beside the list; Tab reaches
    // the legend and the chart.
    view_->setFocus();
}

void TTrendWindow::ShowHorse(const QString& path, int slot) {
    path_ = path.toStdString();
    slot_ = slot;
    const HorseIdentity* horse = history_.Horse(path_, slot_);
    horse_ = horse != nullptr ? *horse : HorseIdentity{};
    setWindowTitle(QString::fromUtf8("推移 — %1").arg(QString::fromStdString(horse_.Name)));
    Recorded();
    view_->resizeColumnsToContents();
}

void TTrendWindow::Recorded() {
    const HorseIdentity* horse = history_.Horse(path_, slot_);
    if (horse == nullptr || *horse != horse_) {
        notice_->setText(QString::fromUtf8("ID %1 にはもう %2 がいません。ファイルが書き換えられ"
                                           "ました。それまでの推移を表示しています。")
                             .arg(slot_)
                             .arg(QString::fromStdString(horse_.Name)));
        notice_->show();
        return;
    }
    const std::vector<TrendPoint> points = history_.Versions(path_, slot_);
    model_->Fill(points);
    // A new row's differences, such as "174 (+3)", are wider than the values alone.
    view_->WidenColumnsToContents();
    chart_->SetPoints(points);
    notice_->setVisible(points.size() == 1);
    notice_->setText(QString::fromUtf8("記録はまだこの 1 版だけです。ファイルが書き換えられる"
                                       "たびに、点と行が増えます。"));
}

void TTrendRecorder::Record(const TFileFollower::Version& version) {
    // The path in UTF-8 is made once per file, so that a reload allocates nothing here.
    if (version.Path != path_) {
        path_ = version.Path;
        pathUtf8_ = path_.toStdString();
    }
    history_.Record(version.Table, pathUtf8_, version.At.toMSecsSinceEpoch());
    emit Recorded();
}

void AddTrendCommand(TListSide& side) {
    QWidget& owner = side.Window();
    auto* recorder = new TTrendRecorder(&owner);
    recorder->setObjectName(QStringLiteral("TrendRecorder"));
    QObject::connect(&side.Follower(), &TFileFollower::VersionShown, recorder,
                     &TTrendRecorder::Record);

    auto* action = new QAction(QString::fromUtf8("推移(&G)"), &owner);
    action->setObjectName(QStringLiteral("Trend1"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    side.AddHorseCommand(action);
    QObject::connect(action, &QAction::triggered, &owner, [&side, &owner, recorder] {
        RunHandler(&owner, [&side, &owner, recorder] {
            const std::optional<int> slot = ChosenHorse(side);
            if (!slot)
                return;
            // One window for every horse: another horse chosen is shown in it.
            TTrendWindow& window = ShowBeside<TTrendWindow>(
                owner, {Side::Right, Side::Below, Side::Left, Side::Above},
                [&side, &owner, recorder] {
                    auto* made = new TTrendWindow(recorder->History(), &owner);
                    side.TakeCommands(*made);
                    // As quiet as the reload that brings it: no box in front of the game.
                    QObject::connect(recorder, &TTrendRecorder::Recorded, made,
                                     [made] { FailureOf([made] { made->Recorded(); }); });
                    return made;
                });
            window.ShowHorse(recorder->Path(), *slot);
        });
    });
}

// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_CompareWindow.h"

#include "U_BestValueMarks.h"
#include "U_ChartGeometry.h"
#include "U_ErrorDisplay.h"
#include "U_FileFollower.h"
#include "U_ReportView.h"
#include "U_WindowOpener.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QShowEvent>

namespace {

constexpr int ComparisonColumnCount = 4;

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void TCompareModel::Fill(const TDM_HorseStatus& table, int a, int b) {
    beginResetModel();
    rows_ = CompareHorses(table, a, b);
    nameA_ = Utf8(table.HorseName[a]);
    nameB_ = Utf8(table.HorseName[b]);
    endResetModel();
}

void TCompareModel::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int TCompareModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TCompareModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ComparisonColumnCount;
}

QVariant TCompareModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const ComparisonRow& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return QString::fromUtf8(HorseFields[row.Field].Caption);
        case 1:
            return Utf8(row.A);
        case 2:
            return Utf8(row.B);
        default:
            return row.Difference ? Utf8(SignedText(*row.Difference)) : QString();
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() > 0 && row.Difference)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if ((index.column() == 1 && row.AHigher) || (index.column() == 2 && row.BHigher))
        return MarkedCellData(role, QString::fromUtf8("高い方"));
    return {};
}

QVariant TCompareModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case 0:
        return QString::fromUtf8("項目");
    case 1:
        return nameA_;
    case 2:
        return nameB_;
    default:
        return QString::fromUtf8("差");
    }
}

TAbilityChart::TAbilityChart(QWidget* parent) : QWidget(parent) {
    setObjectName("AbilityChart");
    setAccessibleName(QString::fromUtf8("能力チャート"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(300, 300);
}

QColor TAbilityChart::HorseColor(int horse) {
    // Lighter on a dark window: each at least 3:1 against the window, as lines need, in either
    // theme.
    if (QGuiApplication::palette().color(QPalette::Window).lightness() < 128)
        return horse == 0 ? QColor(0x5A, 0x9B, 0xF0) : QColor(0xF0, 0x7C, 0x3A);
    return horse == 0 ? QColor(0x1F, 0x6F, 0xD0) : QColor(0xE0, 0x5A, 0x1A);
}

void TAbilityChart::SetHorses(std::optional<std::array<Horse, 2>> horses) {
    horses_ = std::move(horses);
    // What the chart shows, for a screen reader: each ability's two values, by horse.
    QStringList values;
    if (horses_)
        for (int n = 0; n < BasicAbilityCount; ++n)
            values << QString::fromUtf8("%1: A %2 %3, B %4 %5")
                          .arg(QString::fromUtf8(BasicAbilityFields[n].Caption), (*horses_)[0].Name)
                          .arg((*horses_)[0].Values[n])
                          .arg((*horses_)[1].Name)
                          .arg((*horses_)[1].Values[n]);
    setAccessibleDescription(values.join(QString::fromUtf8("。")));
    update();
}

void TAbilityChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colors = palette();
    const QFontMetrics metrics = fontMetrics();
    const int legendHeight = 2 * metrics.height() + 8;
    const QRectF area = QRectF(rect()).adjusted(0, legendHeight, 0, 0);
    // Room for the captions around the rim.
    const double radius = std::max(
        10.0,
        std::min(area.width() - 2 * metrics.horizontalAdvance(QString::fromUtf8("勝負根性")) - 8,
                 area.height() - 2 * metrics.height() - 8) /
            2);
    const QPointF centre = area.center();
    const auto at = [&](ChartPoint p, double scale = 1.0) {
        return centre + QPointF(p.X, p.Y) * radius * scale;
    };
    // The rim of each axis is its greatest value; the rings mark quarters of the range.
    painter.setPen(QPen(colors.color(QPalette::Mid), 1));
    for (const double share : {0.25, 0.5, 0.75, 1.0}) {
        QPolygonF ring;
        for (int n = 0; n < BasicAbilityCount; ++n) {
            const BasicAbilityField& field = BasicAbilityFields[n];
            ring << at(AbilityChartPoint(n, field.Greatest), share);
        }
        painter.drawPolygon(ring);
    }
    painter.setPen(colors.color(QPalette::WindowText));
    for (int n = 0; n < BasicAbilityCount; ++n) {
        const ChartPoint rim = AbilityChartPoint(n, BasicAbilityFields[n].Greatest);
        painter.drawLine(centre, at(rim));
        const QString caption = QString::fromUtf8(BasicAbilityFields[n].Caption);
        const QSizeF size(metrics.horizontalAdvance(caption), metrics.height());
        const QPointF anchor =
            at(rim, 1.0) + QPointF(rim.X * (size.width() / 2 + 4), rim.Y * (size.height() / 2 + 4));
        painter.drawText(QRectF(anchor - QPointF(size.width() / 2, size.height() / 2), size),
                         Qt::AlignCenter, caption);
    }
    if (!horses_)
        return;
    for (int horse = 0; horse < 2; ++horse) {
        QPolygonF shape;
        for (int n = 0; n < BasicAbilityCount; ++n)
            shape << at(AbilityChartPoint(n, (*horses_)[horse].Values[n]));
        QColor fill = HorseColor(horse);
        fill.setAlpha(60);
        painter.setPen(QPen(HorseColor(horse), 2));
        painter.setBrush(fill);
        painter.drawPolygon(shape);
        // The legend: a swatch and the name, A above B.
        const QRectF swatch(4, 4 + horse * (metrics.height() + 4), metrics.height(),
                            metrics.height());
        painter.fillRect(swatch, HorseColor(horse));
        painter.setPen(colors.color(QPalette::WindowText));
        painter.drawText(swatch.topRight() + QPointF(6, metrics.ascent()),
                         QString(horse == 0 ? "A: " : "B: ") + (*horses_)[horse].Name);
    }
}

TCompareWindow::TCompareWindow(TFileFollower& follower, QWidget* parent)
    : QMainWindow(parent, Qt::Window), model_(new TCompareModel(this)),
      view_(new TReportView(this)), chart_(new TAbilityChart(this)), notice_(new QLabel(this)) {
    setObjectName("CompareWindow");
    notice_->setObjectName("GoneNotice");
    notice_->setWordWrap(true);
    notice_->hide();
    view_->setObjectName("CompareTable");
    view_->setAccessibleName(QString::fromUtf8("比較"));
    view_->setModel(model_);
    view_->SetCopiesCaptions(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);

    auto* sides = new QHBoxLayout;
    sides->addWidget(view_, 1);
    sides->addWidget(chart_, 1);
    auto* content = new QWidget(this);
    setCentralWidget(content);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(notice_);
    layout->addLayout(sides, 1);
    // As quiet as the reload that brings it: no box in front of the game.
    connect(&follower, &TFileFollower::VersionShown, this,
            [this] { FailureOf([this] { Refresh(); }); });
    CloseOnEscape(*this);
    resize(900, 520);
}

void TCompareWindow::SetHorses(int a, int b) {
    a_ = a;
    b_ = b;
    nameA_ = Utf8(DM_HorseStatus->HorseName[a]);
    nameB_ = Utf8(DM_HorseStatus->HorseName[b]);
    replaced_.clear();
    Update();
    // Fitted anew to the two horses chosen; a reload only widens.
    view_->resizeColumnsToContents();
}

void TCompareWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        Refresh();
}

void TCompareWindow::Refresh() {
    if (isVisible())
        Update();
}

void TCompareWindow::Update() {
    const TDM_HorseStatus& table = *DM_HorseStatus;
    QStringList gone;
    for (const auto& [slot, name] : {std::pair(a_, &nameA_), std::pair(b_, &nameB_)}) {
        if (table.Registered[slot] != 1) {
            gone << QString::fromUtf8("ID %1 (%2)").arg(slot).arg(*name);
            continue;
        }
        const QString now = Utf8(table.HorseName[slot]);
        if (now != *name)
            replaced_ << QString::fromUtf8("ID %1 は %2 から %3 に替わりました。")
                             .arg(slot)
                             .arg(*name, now);
        *name = now;
    }
    QStringList notices = replaced_;
    if (!gone.isEmpty())
        notices << QString::fromUtf8("%1 はもう一覧にありません。ファイルが書き換えられました。")
                       .arg(gone.join(QString::fromUtf8("と")));
    notice_->setVisible(!notices.isEmpty());
    notice_->setText(notices.join(' '));
    if (!gone.isEmpty()) {
        model_->Clear();
        chart_->SetHorses(std::nullopt);
    } else {
        model_->Fill(table, a_, b_);
        chart_->SetHorses(std::array<TAbilityChart::Horse, 2>{
            TAbilityChart::Horse{nameA_, table.BasicAbilities(a_)},
            TAbilityChart::Horse{nameB_, table.BasicAbilities(b_)}});
        // A reload may make a text longer (差 going from +9 to +10): only wider, so that the
        // columns do not jump.
        view_->WidenColumnsToContents();
    }
    setWindowTitle(QString::fromUtf8("比較 — %1 / %2").arg(nameA_, nameB_));
}

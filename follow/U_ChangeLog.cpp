// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ChangeLog.h"

#include <QFileInfo>

#include <array>
#include <string>
#include <utility>

namespace {

const std::array<const char*, ChangeLogColumnCount> Captions = {"時刻", "ファイル", "ID", "馬名",
                                                                "項目", "旧",       "新", "差"};

// A slot's state reads as whether a horse is in it; a state other than 0 or 1 keeps its code.
QString SlotStateText(const std::string& state) {
    if (state == "1")
        return QStringLiteral("あり");
    if (state == "0")
        return QStringLiteral("なし");
    return QStringLiteral("なし (%1)").arg(QString::fromStdString(state));
}

} // namespace

void THorseChangeLog::Record(const TDM_HorseStatus& table, const QString& path,
                             const QDateTime& at) {
    lastRead_ = LocalClockText(at);
    if (!shown_) {
        shown_ = std::make_unique<TDM_HorseStatus>(table);
        shownAt_ = at;
        emit Read();
        return;
    }
    std::vector<FieldChange>& changes = changes_;
    changes.clear();
    // The version shown last stays in the log only once it has stood for a second; until then
    // the next version takes its place.
    if (shownAt_.msecsTo(at) < HalfWrittenMs) {
        if (*shown_ == table) {
            emit Read();
            return;
        }
        if (newestRows_ > 0) {
            beginRemoveRows({}, 0, newestRows_ - 1);
            rows_.erase(rows_.begin(), rows_.begin() + newestRows_);
            endRemoveRows();
        }
        if (before_)
            AppendHorseTableChanges(*before_, table, changes);
    } else {
        AppendHorseTableChanges(*shown_, table, changes);
        if (changes.empty()) { // the same version again
            emit Read();
            return;
        }
        std::swap(before_, shown_);
    }
    // Into the strings of a table dropped, whose room mostly fits the names again.
    if (shown_)
        *shown_ = table;
    else
        shown_ = std::make_unique<TDM_HorseStatus>(table);
    shownAt_ = at;
    newestRows_ = static_cast<int>(changes.size());
    if (newestRows_ > 0) {
        if (path != path_) {
            path_ = path;
            file_ = QFileInfo(path).fileName();
        }
        beginInsertRows({}, 0, newestRows_ - 1);
        for (auto change = changes.rbegin(); change != changes.rend(); ++change)
            rows_.push_front({lastRead_, file_, std::move(*change)});
        endInsertRows();
    }
    if (rowCount() > MaxRows) {
        beginRemoveRows({}, MaxRows, rowCount() - 1);
        rows_.resize(MaxRows);
        endRemoveRows();
    }
    emit Read();
}

// Turning a time into local time looks the time zone up each time, which costs a reload more
// than the rest of the log's work; the zone's offset is looked up again once a minute.
QString THorseChangeLog::LocalClockText(const QDateTime& at) {
    if (!offsetUntil_.isValid() || at >= offsetUntil_ || at < offsetUntil_.addSecs(-60)) {
        offsetFromUtc_ = at.toLocalTime().offsetFromUtc();
        offsetUntil_ = at.addSecs(60);
    }
    constexpr qint64 SecondsADay = 24 * 60 * 60;
    const qint64 seconds =
        ((at.toSecsSinceEpoch() + offsetFromUtc_) % SecondsADay + SecondsADay) % SecondsADay;
    // Written digit by digit: a formatted print costs the log a tenth of its work.
    const int parts[] = {static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                         static_cast<int>(seconds % 60)};
    char16_t text[] = u"00:00:00";
    for (int part = 0; part < 3; ++part) {
        text[part * 3] = static_cast<char16_t>(u'0' + parts[part] / 10);
        text[part * 3 + 1] = static_cast<char16_t>(u'0' + parts[part] % 10);
    }
    return QString(reinterpret_cast<const QChar*>(text), 8);
}

QString THorseChangeLog::Text(const Row& row, int column) const {
    const FieldChange& change = row.Change;
    switch (column) {
    case 0:
        return row.Time;
    case 1:
        return row.File;
    case 2:
        return QString::number(change.HorseID);
    case 3:
        return QString::fromStdString(change.HorseName);
    case 4:
        return QString::fromUtf8(HorseFields[change.Field].Caption);
    case 5:
    case 6: {
        const std::string& value = column == 5 ? change.Old : change.New;
        return change.Field == SlotStateField ? SlotStateText(value)
                                              : QString::fromStdString(value);
    }
    case 7:
        return change.Difference ? QString::fromStdString(SignedText(*change.Difference))
                                 : QString();
    default:
        return {};
    }
}

int THorseChangeLog::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int THorseChangeLog::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ChangeLogColumnCount;
}

QVariant THorseChangeLog::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return Text(rows_[static_cast<std::size_t>(index.row())], index.column());
}

QVariant THorseChangeLog::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ChangeLogColumnCount ? QString::fromUtf8(Captions[section])
                                                              : QVariant();
    // The rows' header is hidden but read out by screen readers: it names the row by its horse
    // and field, as the list's names its rows by their IDs.
    if (section < 0 || section >= rowCount())
        return {};
    const Row& row = rows_[static_cast<std::size_t>(section)];
    return Text(row, 2) + ' ' + Text(row, 3) + ' ' + Text(row, 4);
}

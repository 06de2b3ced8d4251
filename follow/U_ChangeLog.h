// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_Comparison.h"
#include "U_FileFollower.h"
#include "U_HorseFields.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QString>

#include <deque>
#include <memory>
#include <vector>

inline constexpr int ChangeLogColumnCount = 8;

// What each version of the horse table that the list came to show changed from the one before:
// one row per changed field, the newest version's rows on top, columns 時刻 ファイル ID 馬名 項目
// 旧 新 差. It records from the first version shown, which itself logs nothing; a version equal
// to the one before logs nothing. A version that the next one replaces within a second was
// half written: its rows give way to the change from the version before it to the newer one.
// Only the newest MaxRows rows are kept.
class THorseChangeLog : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int MaxRows = 10000;
    static constexpr qint64 HalfWrittenMs = 1000;

    using QAbstractTableModel::QAbstractTableModel;

    // `table`, read from `path`, has come to be shown at `at` (best in UTC); the log shows the
    // local time.
    void Record(const TDM_HorseStatus& table, const QString& path, const QDateTime& at);
    // A version the follower has published.
    void RecordShown(const TFileFollower::Version& version) {
        Record(version.Table, version.Path, version.At);
    }

    // When a version was last shown, as HH:MM:SS in local time; empty before the first.
    const QString& LastRead() const { return lastRead_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // A version was shown, changed or not.
    void Read();

private:
    struct Row {
        QString Time; // shared by the rows of one version
        QString File;
        FieldChange Change;
    };
    QString Text(const Row& row, int column) const;
    QString LocalClockText(const QDateTime& at);

    std::deque<Row> rows_;
    // Held by pointer, so that the two trade places without copying 25 KB.
    std::unique_ptr<TDM_HorseStatus> shown_;  // the version shown last
    std::unique_ptr<TDM_HorseStatus> before_; // the one the newest rows compare it with
    std::vector<FieldChange> changes_;        // a version's, kept for its room
    QDateTime shownAt_;                       // when shown_ came, not when it came again
    int newestRows_ = 0;                      // the rows of shown_, on top
    QString lastRead_;
    QString path_, file_;   // the path read last and its name without the folder
    int offsetFromUtc_ = 0; // the local time's, in seconds, good until offsetUntil_
    QDateTime offsetUntil_;
};

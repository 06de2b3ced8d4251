// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseHistory.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class THorseListView;
class TMainForm;

// The history of every version the list shows, from the first one, for the 推移 window.
class TTrendRecorder : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void RecordShown(const QString& path);
    const THorseHistory& History() const { return history_; }
    const QString& Path() const { return path_; }

    // The time now. Tests move it on so that a version stands for a second without the wait.
    std::function<qint64()> Clock = &QDateTime::currentMSecsSinceEpoch;

signals:
    void Recorded();

private:
    THorseHistory history_;
    QString path_;
};

// Puts 推移(&G), Ctrl+G, in the main window and in the list's context menu: the chosen horse's
// history in the 推移 window, made when first asked for.
void AddTrendCommand(TMainForm& form, THorseListView& list);

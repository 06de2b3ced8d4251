// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// Measuring aid for the start-up benchmark, compiled only into its copies of the programs:
// ends the event loop once the window has been painted for the first time, queueing the quit
// behind whatever that first paint left for the event loop to do.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

class QuitWhenPainted : public QObject {
public:
    explicit QuitWhenPainted(QWidget& window) : QObject(&window) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool quitting_ = false;
};

// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// A Qt generic plugin that only the start-up benchmark loads into the programs it measures
// (QT_QPA_GENERIC_PLUGINS=quitwhenpainted, found through QT_PLUGIN_PATH), so that the viewer
// measured is the one that ships: it ends the event loop once a window has been painted for
// the first time, queueing the quit behind whatever that first paint left for the loop to do.
#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QTimer>
#include <QWidget>

namespace {

class QuitWhenPainted : public QObject {
public:
    QuitWhenPainted() { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_ && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            quitting_ = true;
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool quitting_ = false;
};

} // namespace

class QuitWhenPaintedPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "QuitWhenPainted.json")

public:
    QObject* create(const QString&, const QString&) override { return new QuitWhenPainted; }
};

#include "QuitWhenPainted.moc"

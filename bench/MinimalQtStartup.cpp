// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The floor of the start-up benchmark: the least a Qt Widgets program does to show a main
// window of the viewer's shape, a menu and an eight-column table. Like the viewer, it quits once
// painted only when the benchmark loads its plugin into it.
// Its texts are plain ASCII in Qt's default font, so the floor carries none of the cost of
// finding and shaping a Japanese font: that cost counts against the viewer.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&File"));
    menu->addAction(QStringLiteral("&Open..."));
    menu->addSeparator();
    menu->addAction(QStringLiteral("E&xit"), &window, &QWidget::close);
    auto* table = new QTableWidget(0, 8, &window);
    table->setHorizontalHeaderLabels(
        {"ID", "Name", "Sex/Age", "Basic", "Distance", "Course", "Activation", "Equipment"});
    window.setCentralWidget(table);
    window.resize(800, 505);
    window.show();
    return QApplication::exec();
}

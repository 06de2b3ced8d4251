// The floor of the start-up benchmark: the least a Qt Widgets program does to show a main
// window of the viewer's shape, a menu and an eight-column table, and quit once it is painted.
#include "QuitWhenPainted.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    menu->addAction(QStringLiteral("ファイルを開く(&O)"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("終了(&X)"), &window, &QWidget::close);
    auto* table = new QTableWidget(0, 8, &window);
    table->setHorizontalHeaderLabels({"ID", "馬名", "性齢", "基本能力", "距離適性", "コース適性",
                                      "発動系アビリティ", "装備系アビリティ"});
    window.setCentralWidget(table);
    window.resize(800, 505);
    window.show();
    new QuitWhenPainted(window);
    return QApplication::exec();
}

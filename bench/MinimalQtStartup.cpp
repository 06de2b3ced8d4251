// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The floors of the start-up benchmark: the least a Qt Widgets program does to show a main
// window of the viewer's shape, a menu and an eight-column table. Like the viewer, each quits
// once painted only when the benchmark loads its plugin into it.
// MinimalQtStartup shows plain ASCII in Qt's default font, so it carries none of the cost of
// the Japanese font: against it, that cost counts against the viewer. MinimalQtStartupJapanese
// (built with STALLARK_JAPANESE_FLOOR) shows the viewer's own menu and column captions in the
// viewer's font, IPAPGothic at 12 pixels, named outright: against it, what is left is the
// viewer's own work.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

namespace {

struct FloorTexts {
    const char* Menu;
    const char* Open;
    const char* Exit;
    const char* Columns[8];
    const char* Button; // none in the ASCII floor
};

#ifdef STALLARK_JAPANESE_FLOOR
constexpr FloorTexts Texts = {"ファイル(&F)",
                              "ファイルを開く(&O)",
                              "終了(&X)",
                              {"ID", "馬名", "性齢", "基本能力", "距離適性", "コース適性",
                               "発動系アビリティ", "装備系アビリティ"},
                              "詳細表示"};
#else
constexpr FloorTexts Texts = {
    "&File",
    "&Open...",
    "E&xit",
    {"ID", "Name", "Sex/Age", "Basic", "Distance", "Course", "Activation", "Equipment"},
    nullptr};
#endif

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
#ifdef STALLARK_JAPANESE_FLOOR
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    QApplication::setFont(font);
#endif
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(Texts.Menu));
    menu->addAction(QString::fromUtf8(Texts.Open));
    menu->addSeparator();
    menu->addAction(QString::fromUtf8(Texts.Exit), &window, &QWidget::close);
    auto* table = new QTableWidget(0, 8, &window);
    QStringList captions;
    for (const char* caption : Texts.Columns)
        captions.append(QString::fromUtf8(caption));
    table->setHorizontalHeaderLabels(captions);
    window.setCentralWidget(table);
    // The viewer's button, over the table's lower right corner: its text in the same font.
    if (Texts.Button != nullptr)
        (new QPushButton(QString::fromUtf8(Texts.Button), table))->setGeometry(712, 448, 75, 25);
    window.resize(800, 505);
    // Where the viewer opens: on Xvfb the pointer rests in the middle of the screen, inside the
    // viewer's window, which then handles the pointer's entering it; a floor elsewhere would not.
    window.move(192, 107);
    window.show();
    return QApplication::exec();
}

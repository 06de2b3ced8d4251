// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "ViewerFixture.h"

#include "U_ErrorDisplay.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <utility>

ViewerTest::ViewerTest() {
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

void ViewerTest::TearDown() {
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{}) << "error boxes the test did not expect";
}

QTableView* ViewerTest::List() const {
    return Control<QTableView>("HorseListView");
}

int ViewerTest::RowCount() const {
    return List()->model()->rowCount();
}

QString ViewerTest::Cell(int row, int column) const {
    return List()->model()->index(row, column).data().toString();
}

void ViewerTest::OpenThroughMenu(const QString& path) {
    form->ChooseFile = [path] { return std::optional<QString>(path); };
    Control<QAction>("O1")->trigger();
}

QString ViewerTest::WriteFile(const std::string& name, const HorseBlock& block) {
    const std::string path = dir.File(name);
    WriteHorseFile(path, HorseFileLayouts[0].FileSize, block);
    return QString::fromStdString(path);
}

QList<QStringList> ListTexts(const QAbstractItemView* list) {
    const QAbstractItemModel* model = list->model();
    QList<QStringList> rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < model->columnCount(); ++column)
            texts << model->index(row, column).data().toString();
        rows << texts;
    }
    return rows;
}

ModalHandler::ModalHandler(const char* className, std::function<void(QWidget*)> handle)
    : className_(className), handle_(std::move(handle)) {
    QApplication::instance()->installEventFilter(this);
}

bool ModalHandler::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && !shown_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow() && watched->inherits(className_)) {
        shown_ = true;
        // Queued: the window's own event loop, which exec starts after the show, runs it.
        QMetaObject::invokeMethod(
            this,
            [this, window = QPointer<QWidget>(static_cast<QWidget*>(watched))] {
                handled_ = true;
                handle_(window);
            },
            Qt::QueuedConnection);
    }
    return false;
}

ErrorBoxRecorder::ErrorBoxRecorder() : previous_(RunErrorBox) {
    RunErrorBox = [this](QMessageBox& box) {
        boxes_.append({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
    };
}

ErrorBoxRecorder::~ErrorBoxRecorder() {
    RunErrorBox = previous_;
}

QList<ErrorBoxRecorder::Box> ErrorBoxRecorder::TakeBoxes() {
    return std::exchange(boxes_, {});
}

QStringList ErrorBoxRecorder::TakeTexts() {
    QStringList texts;
    for (const Box& box : TakeBoxes())
        texts << box.Text;
    return texts;
}

HorseRecordFields SampleHorse() {
    HorseRecordFields horse;
    horse.HorseName = "ガパアイウ";
    horse.FatherName = "ソラノカナタ";
    horse.MotherName = "ハルカゼ";
    horse.Speed = 95;
    horse.Endurance = 88;
    horse.Stamina = 101;
    horse.Power = 7;
    horse.Agility = 0;
    horse.Agreement = 64;
    horse.Temper = 12;
    horse.Guts = 100;
    horse.Reactive = 255;
    horse.Durability = 9;
    horse.LowerDistance = 1600;
    horse.UpperDistance = 2400;
    horse.ExeAbility = {0, 9, 0, 200};
    horse.EqpAbility = {1, 52, 53, 0};
    return horse;
}

HorseBlock SampleHorsesAt(const std::vector<int>& indexes) {
    HorseBlock block{};
    for (const int index : indexes) {
        HorseRecordFields horse = SampleHorse();
        horse.Speed = 30 + index;
        PutHorse(block, index, horse);
    }
    return block;
}

QStringList SampleRowTexts(int index) {
    return {QString::number(index),
            "ガパアイウ",
            "？",
            QString("%1/88/101/07/00/64/12/100/255/09").arg(30 + index, 2, 10, QChar('0')),
            "1600 - 2400",
            "？/？",
            "馬群好き/？",
            "サンスポー/アイドルホース/？/"};
}

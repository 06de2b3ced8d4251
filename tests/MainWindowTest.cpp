// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "TestFilesLinux.h"
#include "U_ColorContrast.h"
#include "U_ReadableToolTips.h"
#include "ViewerFixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QToolTip>
#include <QTreeView>
#include <QUrl>

#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

namespace {

// Collects what QAbstractItemModelTester reports while it lives.
class ModelRuleBreaches {
public:
    ModelRuleBreaches() {
        seen_.clear();
        previous_ = qInstallMessageHandler(&Collect);
    }
    ~ModelRuleBreaches() { qInstallMessageHandler(previous_); }
    QStringList Seen() const { return seen_; }

private:
    static void Collect(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && qstrcmp(context.category, "qt.modeltest") == 0)
            seen_ << text;
    }
    static inline QStringList seen_;
    QtMessageHandler previous_;
};

void SelectRow(QTableView* list, int row) {
    list->setFocus();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 1)).center());
}

void SetCaption(QTableView* list, int row, const QString& caption) {
    list->model()->setData(list->model()->index(row, 0), caption);
}

// The list's column captions, written out by hand.
const QStringList Captions = {"ID",
                              "馬名",
                              "性齢",
                              "基本能力",
                              "距離適性",
                              "コース適性",
                              "発動系アビリティ",
                              "装備系アビリティ"};

} // namespace

TEST_F(ViewerTest, LoadListsRegisteredHorsesInIndexOrderWithTheirTexts) {
    HorseBlock block = SampleHorsesAt({40, 3, 12});
    HorseRecordFields unlisted = SampleHorse();
    unlisted.Registered = 2;
    PutHorse(block, 20, unlisted);
    OpenThroughMenu(WriteFile("horses.dat", block));

    ASSERT_EQ(RowCount(), 3);
    EXPECT_EQ(Cell(0, 0), "3");
    EXPECT_EQ(Cell(1, 0), "12");
    EXPECT_EQ(Cell(2, 0), "40");
    EXPECT_EQ(ListTexts(List())[1], SampleRowTexts(12));
    EXPECT_TRUE(List()->selectionModel()->selectedRows().isEmpty());
    EXPECT_FALSE(Control<QPushButton>("Button1")->isEnabled());
}

TEST_F(ViewerTest, OnlyTheCaptionCanBeTypedOverAndTheListsKeysCopyAndEdit) {
    OpenThroughMenu(WriteFile("horses.dat", SampleHorsesAt({5, 6})));
    ASSERT_EQ(RowCount(), 2);
    const QAbstractItemModel* model = List()->model();
    EXPECT_TRUE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    for (int column = 1; column < Captions.size(); ++column)
        EXPECT_FALSE(model->flags(model->index(0, column)) & Qt::ItemIsEditable) << column;

    // With no row selected F2 does nothing; on a row selected by a click on its name, it opens
    // the editor on the caption.
    QTest::keyClick(List(), Qt::Key_F2);
    EXPECT_EQ(List()->viewport()->findChild<QLineEdit*>(), nullptr);
    SelectRow(List(), 1);
    // Ctrl+C copies the selected row; Ctrl+Shift+C every row, a line each, captions first.
    QApplication::clipboard()->clear();
    QTest::keyClick(List(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), SampleRowTexts(6).join('\t'));
    QTest::keyClick(List(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), Captions.join('\t') + '\n' +
                                                     SampleRowTexts(5).join('\t') + '\n' +
                                                     SampleRowTexts(6).join('\t') + '\n');
    QTest::keyClick(List(), Qt::Key_F2);
    auto* editor = List()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), "6");
    EXPECT_EQ(editor->accessibleName(), "ID"); // a screen reader says what is typed
}

// Home and End go to the first and the last row, with Ctrl too, and no key takes the selection
// away, in Qt's Windows style (the Windows build's) as in Fusion.
TEST_F(ViewerTest, HomeAndEndGoToTheEndsAndNoKeyClearsTheSelection) {
    OpenThroughMenu(WriteFile("horses.dat", SampleHorsesAt({2, 5, 9})));
    for (const char* name : {"Fusion", "Windows"}) {
        const std::unique_ptr<QStyle> style(QStyleFactory::create(name));
        List()->setStyle(style.get());
        SelectRow(List(), 1);
        const std::pair<QKeyCombination, int> steps[] = {
            {Qt::Key_End, 2},  {Qt::CTRL | Qt::Key_End, 2},  {Qt::CTRL | Qt::Key_Space, 2},
            {Qt::Key_Home, 0}, {Qt::CTRL | Qt::Key_Home, 0}, {Qt::CTRL | Qt::Key_Up, 0}};
        for (const auto& [keys, row] : steps) {
            QTest::keyClick(List(), keys.key(), keys.keyboardModifiers());
            const QModelIndexList selected = List()->selectionModel()->selectedRows();
            ASSERT_EQ(selected.size(), 1)
                << name << " " << QKeySequence(keys).toString().toStdString();
            EXPECT_EQ(selected.front().row(), row) << name;
        }
        EXPECT_TRUE(Control<QPushButton>("Button1")->isEnabled());
        List()->setStyle(nullptr);
    }
}

// The list's context menu: 再読み込み (F5), greyed until a file has loaded, above the two
// copies; each item has its access key.
TEST_F(ViewerTest, ContextMenuReloadsAndCopiesByItsAccessKeys) {
    const auto openMenu = [this] {
        QTest::keyClick(List(), Qt::Key_F10, Qt::ShiftModifier);
        auto* menu = List()->findChild<QMenu*>();
        EXPECT_TRUE(menu != nullptr && menu->isVisible());
        return menu;
    };
    QMenu* menu = openMenu();
    QStringList items;
    for (const QAction* item : menu->actions())
        items << item->text() + " " + item->shortcut().toString();
    EXPECT_EQ(items, (QStringList{"再読み込み(&R) F5", "コピー(&C) Ctrl+C",
                                  "すべての行をコピー(&A) Ctrl+Shift+C", " ", "変更点(&H) Ctrl+H",
                                  "能力表(&T) Ctrl+T", "推移(&G) Ctrl+G"}));
    EXPECT_FALSE(menu->actions()[0]->isEnabled());
    menu->close();

    const QString path = WriteFile("horses.dat", SampleHorsesAt({2, 5}));
    OpenThroughMenu(path);
    SelectRow(List(), 1);
    QApplication::clipboard()->clear();
    QTest::keyClick(openMenu(), Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), ListTexts(List())[1].join('\t'));
    QTest::keyClick(openMenu(), Qt::Key_A);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("ID\t"));
    QFile::remove(path);
    QTest::keyClick(openMenu(), Qt::Key_R);
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{"ファイルが見つかりません."});
}

TEST_F(ViewerTest, EveryLoadReplacesTheRowsAndLeavesNoneSelected) {
    OpenThroughMenu(WriteFile("first.dat", SampleHorsesAt({1, 2, 3})));
    SelectRow(List(), 1);
    ASSERT_EQ(List()->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(Control<QPushButton>("Button1")->isEnabled());

    OpenThroughMenu(WriteFile("second.dat", SampleHorsesAt({7})));
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "7");
    EXPECT_TRUE(List()->selectionModel()->selectedRows().isEmpty());
    EXPECT_FALSE(Control<QPushButton>("Button1")->isEnabled());

    OpenThroughMenu(WriteFile("empty.dat", HorseBlock{}));
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(ViewerTest, CancellingTheOpenDialogChangesNothing) {
    OpenThroughMenu(WriteFile("good.dat", SampleHorsesAt({4})));
    form->ChooseFile = [] { return std::optional<QString>(); };
    Control<QAction>("O1")->trigger();
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(horseStatus.Registered[4], 1);
}

TEST_F(ViewerTest, OpenDialogAcceptsATypedMissingNameAndKeepsTheLastNameAndFolder) {
    // The fixture's window still has its own chooser, the real open dialog.
    const QString good = WriteFile("good.dat", SampleHorsesAt({6}));
    QStringList seenFilters;
    QFileDialog::FileMode seenMode = QFileDialog::Directory;
    ModalHandler chooseGood("QFileDialog", [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        seenFilters = dialog->nameFilters();
        seenMode = dialog->fileMode();
        // Typed, as a person does: selectFile leaves the name box alone once it has the focus,
        // and the dialog then opened the folder instead of the file.
        auto* typed = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(typed, nullptr);
        typed->setText(good);
        static_cast<QDialog*>(dialog)->accept(); // as its Open button does
    });
    Control<QAction>("O1")->trigger();
    ASSERT_TRUE(chooseGood.Handled());
    EXPECT_EQ(seenMode, QFileDialog::AnyFile);
    EXPECT_TRUE(seenFilters.isEmpty() ||
                seenFilters == QStringList{QFileDialog::tr("All Files (*)")});
    ASSERT_EQ(RowCount(), 1);

    QStringList offered;
    QString offeredFolder; // the chosen file's, not the working folder
    ModalHandler chooseMissing("QFileDialog", [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        offered = dialog->selectedFiles();
        offeredFolder = dialog->directory().absolutePath();
        auto* typed = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(typed, nullptr);
        // The kept name is offered for typing over.
        EXPECT_FALSE(typed->text().isEmpty());
        EXPECT_EQ(typed->selectedText(), typed->text());
        EXPECT_EQ(dialog->focusWidget(), typed);
        typed->setText(QString::fromStdString(dir.File("typed-but-missing.dat")));
        static_cast<QDialog*>(dialog)->accept(); // as its Open button does
    });
    Control<QAction>("O1")->trigger();
    ASSERT_TRUE(chooseMissing.Handled());
    EXPECT_EQ(offered, QStringList{good});
    EXPECT_EQ(offeredFolder.toStdString(), dir.Path().string());
    EXPECT_EQ(errorBoxes.TakeTexts(), QStringList{"ファイルが見つかりません."});
    EXPECT_EQ(RowCount(), 1);
}

TEST_F(ViewerTest, OpenDialogShowsEveryColumnOfItsFileListWhole) {
    WriteFile("good.dat", SampleHorsesAt({6})); // a file for the list to show
    ModalHandler look("QFileDialog", [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* tree = dialog->findChild<QTreeView*>("treeView");
        ASSERT_NE(tree, nullptr);
        const QAbstractItemView* files = tree; // where sizeHintForColumn is public
        // The folder is read in the background; the columns follow once it is loaded.
        auto* model = qobject_cast<QFileSystemModel*>(files->model());
        ASSERT_NE(model, nullptr);
        QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
        dialog->setDirectory(QString::fromStdString(dir.Path().string()));
        ASSERT_TRUE(loaded.wait());
        QApplication::processEvents();
        const QHeaderView* header = tree->header();
        EXPECT_EQ(files->model()->rowCount(files->rootIndex()), 1);
        EXPECT_LE(header->length(), files->viewport()->width());
        // The program found the list by its private name: its columns follow their texts.
        for (int column = 1; column < header->count(); ++column) {
            EXPECT_EQ(header->sectionResizeMode(column), QHeaderView::ResizeToContents) << column;
            EXPECT_GE(header->sectionSize(column), files->sizeHintForColumn(column)) << column;
        }
        dialog->reject();
    });
    Control<QAction>("O1")->trigger();
    ASSERT_TRUE(look.Handled());
}

// Qt's file dialog keeps its history, folder and columns in a settings file that every Qt
// program shares, read when a dialog is made and written when it goes; the program keeps none.
TEST_F(ViewerTest, OpenDialogReadsAndWritesNoSettings) {
    const std::filesystem::path elsewhere = dir.Path() / "elsewhere";
    std::filesystem::create_directory(elsewhere);
    const QString shared =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/QtProject.conf";
    const auto contents = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    // As another program's dialog leaves it (the dialog takes the history only with the rest).
    const QByteArray before =
        "[FileDialog]\nhistory=" + QUrl::fromLocalFile(elsewhere.c_str()).toEncoded() +
        "\nsidebarWidth=90\n";
    {
        QDir().mkpath(QFileInfo(shared).path());
        QFile file(shared);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }

    QStringList history;
    ModalHandler look("QFileDialog", [&](QWidget* modal) {
        history = qobject_cast<QFileDialog*>(modal)->history();
        static_cast<QDialog*>(modal)->reject();
    });
    Control<QAction>("O1")->trigger();
    ASSERT_TRUE(look.Handled());
    EXPECT_FALSE(history.contains(QString::fromStdString(elsewhere.string())))
        << history.join(" ").toStdString();
    delete form->findChild<QFileDialog*>("OpenDialog"); // as when the program ends

    EXPECT_EQ(contents(shared).toStdString(), before.toStdString());
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TestHome()))
        if (!entry.is_directory() && entry.path() != shared.toStdString())
            written.push_back(entry.path().string());
    EXPECT_TRUE(written.empty()) << testing::PrintToString(written);
    std::filesystem::remove(shared.toStdString());
}

// The list's model is checked against Qt's rules for models at every change it makes: two
// loads and a caption typed over through the list's own edit trigger.
TEST_F(ViewerTest, CaptionTypedOverDecidesWhichHorseIsShown) {
    const ModelRuleBreaches breaches;
    QAbstractItemModelTester tester(List()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    OpenThroughMenu(WriteFile("first.dat", SampleHorsesAt({3, 12, 40})));
    OpenThroughMenu(WriteFile("horses.dat", SampleHorsesAt({12, 30})));
    ASSERT_EQ(RowCount(), 2);
    // A screen reader names a row by its hidden header: the caption, not the position.
    EXPECT_EQ(List()->model()->headerData(0, Qt::Vertical).toString(), "12");

    SelectRow(List(), 0);
    const QPoint caption = List()->visualRect(List()->model()->index(0, 0)).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, caption);
    QLineEdit* editor = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        editor = List()->viewport()->findChild<QLineEdit*>();
        return editor != nullptr && editor->isVisible();
    }));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "30");
    {
        ModalHandler stray("TDetailWindow", [](QWidget* modal) { modal->close(); });
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents(); // the edit is committed from the event loop
        EXPECT_FALSE(stray.Handled()) << "the Enter that ends the edit opened a window";
    }
    ASSERT_EQ(Cell(0, 0), "30");
    EXPECT_EQ(List()->model()->headerData(0, Qt::Vertical).toString(), "30");

    QString shownSpeed;
    ModalHandler detail("TDetailWindow", [&](QWidget* modal) {
        shownSpeed = modal->findChild<QLineEdit*>("E_Speed")->text();
        modal->close();
    });
    QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton);
    ASSERT_TRUE(detail.Handled());
    EXPECT_EQ(shownSpeed, "60");
    EXPECT_EQ(breaches.Seen(), QStringList{});
}

// After a load no row is current either, so the first Down or Space selects the first horse,
// also once the focus has come back to the list from the open dialog; the second load
// replaces a row that was both selected and current.
TEST_F(ViewerTest, FirstDownOrSpaceAfterALoadSelectsTheFirstHorse) {
    const QString path = WriteFile("horses.dat", SampleHorsesAt({2, 5, 9}));
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Space}) {
        OpenThroughMenu(path);
        // The focus comes back to the list, as it does when the open dialog closes.
        List()->clearFocus();
        List()->setFocus(Qt::ActiveWindowFocusReason);
        EXPECT_FALSE(List()->currentIndex().isValid());
        EXPECT_TRUE(List()->selectionModel()->selectedRows().isEmpty());

        QTest::keyClick(List(), key);
        const QModelIndexList selected = List()->selectionModel()->selectedRows();
        ASSERT_EQ(selected.size(), 1) << (key == Qt::Key_Down ? "Down" : "Space");
        EXPECT_EQ(selected.front().row(), 0) << (key == Qt::Key_Down ? "Down" : "Space");
        EXPECT_TRUE(Control<QPushButton>("Button1")->isEnabled());
    }
}

// A text cut off by its column shows whole as a tip, as when the user narrows a column;
// a text that fits shows none. The tip's text is readable, at least 4.5:1 against its
// background, in the Windows style and in Fusion, light and dark, also where the style gives
// it a faint colour of its own while polishing it, as Windows' own style does under Wine.
TEST_F(ViewerTest, CutOffCellShowsItsWholeTextAsAReadableTip) {
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_NEAR(ContrastRatio(QColor(0xa6a6a6), QColor(0xffffdc)), 2.39, 0.01);
    EXPECT_NEAR(ContrastRatio(QColor(0x777777), QColor(0xffffff)), 4.48, 0.01);
    OpenThroughMenu(WriteFile("horses.dat", SampleHorsesAt({4})));
    const QModelIndex name = List()->model()->index(0, 1);
    auto hover = [&] {
        const QPoint at = List()->visualRect(name).center();
        QHelpEvent event(QEvent::ToolTip, at, List()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(List()->viewport(), &event);
    };
    hover();
    EXPECT_FALSE(QToolTip::isVisible()) << QToolTip::text().toStdString();

    List()->setColumnWidth(1, 30);
    hover();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "ガパアイウ");
    QToolTip::hideText();

    // A style that gives every tooltip the text colour of a visual theme, as Windows' style
    // does with the theme's tooltip colour: Wine's pale grey, or the dark grey of Windows'
    // light theme on a dark palette.
    class TThemedTipStyle : public QProxyStyle {
    public:
        TThemedTipStyle(const QString& name, QColor text)
            : QProxyStyle(name), text_(std::move(text)) {}
        void polish(QWidget* widget) override {
            QProxyStyle::polish(widget);
            if (widget->windowType() == Qt::ToolTip) {
                QPalette palette = widget->palette();
                palette.setColor(QPalette::ToolTipText, text_);
                widget->setPalette(palette);
            }
        }
        using QProxyStyle::polish;

    private:
        QColor text_;
    };
    // The desktop's palettes: the style's own, light; a dark one; and a dark one that leaves
    // the tooltips' text black.
    QPalette darkBlackTips(QColor(0x3c3c3c), QColor(0x202020));
    darkBlackTips.setColor(QPalette::ToolTipBase, QColor(0x2b2b2b));
    darkBlackTips.setColor(QPalette::ToolTipText, Qt::black);
    QPalette dark = darkBlackTips;
    dark.setColor(QPalette::ToolTipText, Qt::white);
    const struct {
        const char* name;
        std::optional<QPalette> palette;
    } shades[] = {{"light", std::nullopt}, {"dark", dark}, {"dark, black tips", darkBlackTips}};
    const QString shownStyle = QApplication::style()->name();
    for (const char* styleName : {"Windows", "Fusion"})
        for (const bool themed : {false, true})
            for (const auto& shade : shades) {
                const QColor themeText(shade.palette ? 0x575757 : 0xa6a6a6);
                QApplication::setStyle(themed ? new TThemedTipStyle(styleName, themeText)
                                              : QStyleFactory::create(styleName));
                QApplication::setPalette(
                    shade.palette.value_or(QApplication::style()->standardPalette()));
                hover();
                QWidget* tip = nullptr;
                for (QWidget* window : QApplication::topLevelWidgets())
                    if (window->windowType() == Qt::ToolTip && window->isVisible())
                        tip = window;
                ASSERT_NE(tip, nullptr) << styleName;
                const QPalette& used = tip->palette();
                for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
                    EXPECT_GE(ContrastRatio(used.color(group, tip->foregroundRole()),
                                            used.color(group, tip->backgroundRole())),
                              4.5)
                        << styleName << (themed ? " themed " : " ") << shade.name << " group "
                        << group;
                QToolTip::hideText();
            }
    QApplication::setPalette(QPalette());
    QApplication::setStyle(shownStyle);
}

TEST_F(ViewerTest, CaptionThatNamesNoSlotIsRefusedWithAMessage) {
    OpenThroughMenu(WriteFile("horses.dat", SampleHorsesAt({2})));
    struct Case {
        QString caption;
        QString message;
    } const cases[] = {
        {"abc", "'abc' は整数ではありません."},
        {"", "'' は整数ではありません."},
        {"1.5", "'1.5' は整数ではありません."},
        {"99999999999", "'99999999999' は整数ではありません."},
        {"64", "'64' は 0 から 63 までの範囲にありません."},
        {"-1", "'-1' は 0 から 63 までの範囲にありません."},
    };
    for (const Case& c : cases) {
        SetCaption(List(), 0, c.caption);
        List()->selectRow(0);
        QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton);
        const QList<ErrorBoxRecorder::Box> boxes = errorBoxes.TakeBoxes();
        ASSERT_EQ(boxes.size(), 1) << c.caption.toStdString();
        EXPECT_EQ(boxes[0].Text, c.message);
        EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
        EXPECT_EQ(boxes[0].Title, "stallark_tests"); // this program's file name
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ViewerTest, AnySlotFromZeroTo63OpensEvenWhenNotListed) {
    HorseBlock block = SampleHorsesAt({2});
    HorseRecordFields hidden = SampleHorse();
    hidden.Registered = 0;
    hidden.HorseName = "カクレ";
    PutHorse(block, 63, hidden);
    OpenThroughMenu(WriteFile("horses.dat", block));
    SetCaption(List(), 0, " 63 ");
    List()->selectRow(0);
    QString shownName;
    ModalHandler detail("TDetailWindow", [&](QWidget* modal) {
        shownName = modal->findChild<QLineEdit*>("E_HorseName")->text();
        modal->close();
    });
    QTest::mouseClick(Control<QPushButton>("Button1"), Qt::LeftButton);
    ASSERT_TRUE(detail.Handled());
    EXPECT_EQ(shownName, "カクレ");
}

TEST_F(ViewerTest, EnterAndDoubleClickShowTheSelectedHorse) {
    OpenThroughMenu(WriteFile("horses.dat", SampleHorsesAt({8, 11})));
    SelectRow(List(), 1);
    int shown = 0;
    QString speed;
    auto closeDetail = [&](QWidget* modal) {
        ++shown;
        speed = modal->findChild<QLineEdit*>("E_Speed")->text();
        modal->close();
    };
    {
        ModalHandler detail("TDetailWindow", closeDetail);
        QTest::keyClick(List(), Qt::Key_Return);
    }
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(speed, "41");
    {
        ModalHandler detail("TDetailWindow", closeDetail);
        const QPoint cell = List()->visualRect(List()->model()->index(0, 2)).center();
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, cell);
    }
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(speed, "38");
}

TEST_F(ViewerTest, DroppedFileLoadsLikeAChosenOne) {
    const QString path = WriteFile("dropped.dat", SampleHorsesAt({13, 14}));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at(400, 200);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(form.get(), &drop);
    EXPECT_EQ(RowCount(), 0); // not while the dragging program waits for the drop to return
    QApplication::processEvents();
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(1, 0), "14");

    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)});
    QDragEnterEvent refused(at, Qt::CopyAction, &two, Qt::LeftButton, {});
    refused.setAccepted(false);
    QApplication::sendEvent(form.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

// The main window keeps one size, and shows every part of it whole in the program's font:
// the list above the button, every column within the list, every caption whole in its column,
// the button's text whole on it. Tab reaches the button only while it is enabled, that is with
// a row selected.
TEST_F(ViewerTest, MainWindowShowsEveryPartWhole) {
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    auto* button = Control<QPushButton>("Button1");
    const QRect area = form->centralWidget()->rect();
    EXPECT_TRUE(area.contains(List()->geometry())) << "the list sticks out of the window";
    EXPECT_TRUE(area.contains(button->geometry())) << "the button sticks out of the window";
    EXPECT_GT(button->geometry().top(), List()->geometry().bottom());
    const QHeaderView* header = List()->horizontalHeader();
    EXPECT_LE(header->length(), List()->viewport()->width());
    ASSERT_EQ(List()->model()->columnCount(), Captions.size());
    for (int column = 0; column < Captions.size(); ++column) {
        EXPECT_EQ(List()->model()->headerData(column, Qt::Horizontal).toString(), Captions[column]);
        EXPECT_LE(header->sectionSizeHint(column), header->sectionSize(column)) << column;
    }
    EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) +
                  2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button),
              button->width());

    OpenThroughMenu(WriteFile("horses.dat", SampleHorsesAt({0})));
    SelectRow(List(), 0);
    QTest::keyClick(List(), Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Button1");
}

TEST_F(ViewerTest, FileMenuAndItsAccessKeys) {
    auto* file = Control<QMenu>("File1");
    EXPECT_EQ(file->title(), "ファイル(&F)");
    const QList<QAction*> items = file->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "ファイルを開く(&O)");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), "終了(&X)");

    bool asked = false;
    form->ChooseFile = [&] {
        asked = true;
        return std::optional<QString>();
    };
    QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(file->isVisible());
    QTest::keyClick(file, Qt::Key_O);
    EXPECT_TRUE(asked);

    QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(file->isVisible());
    QTest::keyClick(file, Qt::Key_X);
    EXPECT_FALSE(form->isVisible());
}

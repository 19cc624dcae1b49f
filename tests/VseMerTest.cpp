// The measurement table window: it follows the table's top row and paints each cell's colour;
// the operator edits cells in place, copies, cuts, pastes and clears them, and sizes the font.

#include "core/Clock.h"
#include "core/Form1.h"
#include "core/MDIForm1.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "records/MeasurementTable.h"
#include "records/TableCommands.h"
#include "records/TableFileDialogs.h"
#include "records/vse_mer.h"

#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace pxr3;

class VseMerTest : public QObject {
    Q_OBJECT

    static bool cellShowsRed(QTableView *view, int row, int column)
    {
        const QRect cell = view->visualRect(view->model()->index(row, column));
        const QImage image = view->viewport()->grab(cell).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                    return true;
            }
        return false;
    }

    // A click on the cell of data row `row`, column `column`, as the operator makes it.
    static void click(QTableView *grid, int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row - 1, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
    }
    static void doubleClick(QTableView *grid, int row, int column)
    {
        click(grid, row, column);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                           grid->visualRect(grid->model()->index(row - 1, column)).center());
    }

    // Whether Ctrl+X on `target` opens the quit dialog, which is closed again at once.
    static bool ctrlXAsksToQuit(MDIForm1 &main, QWidget *target)
    {
        bool asked = false;
        QTimer closer; // runs inside the dialog's own event loop, if it opens
        closer.setSingleShot(true);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            asked = main.quitDialog() != nullptr;
            if (asked)
                main.quitDialog()->reject();
        });
        closer.start(0);
        QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier);
        return asked;
    }

    std::unique_ptr<vse_mer> window;
    QTableView *grid = nullptr;
    std::vector<UserMessage> messages;

private slots:
    void initTestCase()
    {
        SetMessageSink([this](const UserMessage &m) {
            messages.push_back(m);
            return true;
        });
    }
    void init()
    {
        ResetSharedState();
        messages.clear();
        window = std::make_unique<vse_mer>();
        grid = window->grid();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup()
    {
        window.reset();
        measurementTable().reset();
    }

    void viewFollowsTheTableAndItsColours()
    {
        MeasurementTable &table = measurementTable();
        table.setTopRow(500);
        QCOMPARE(grid->rowAt(0), 499);
        grid->scrollToTop(); // the operator scrolled away; the same top row brings the view back
        table.setTopRow(500);
        QCOMPARE(grid->rowAt(0), 499);
        table.setTopRow(1);
        QCOMPARE(grid->rowAt(0), 0);

        table.setText(2, 1, QStringLiteral("88.88.8888 88:88:88"));
        table.setTextColour(2, 1, kLightRedText);
        QVERIFY(cellShowsRed(grid, 1, 1));
        table.setTextColour(2, 1, kBlackText);
        QVERIFY(!cellShowsRed(grid, 1, 1));
    }

    // The table is emptied while its window is still being laid out; once it has a real width
    // (narrower than all columns) it shows the row numbers.
    void anEmptiedTableShowsItsRowNumbers()
    {
        window->resize(120, 200);
        ClearTable();
        window->resize(500, 300);
        QCOMPARE(grid->columnAt(0), 0);
        QCOMPARE(grid->currentIndex().column(), 1);
    }

    void editingTakesOverWithEnterAndDropsWithEsc()
    {
        VirtualClock clock(QDateTime(QDate(2026, 3, 2), QTime(14, 37, 50)));
        VirtualClockScope virtualTime(clock);
        MeasurementTable &table = measurementTable();
        QLineEdit *date = window->dateEditor();
        QLineEdit *text = window->textEditor();
        table.setText(2, 1, QStringLiteral("?"));
        table.setText(3, 1, QStringLiteral("07.03.2024 09:05:03"));
        table.setText(3, 5, QStringLiteral("poznámka"));

        doubleClick(grid, 2, 1); // a "?" gets the present moment
        QVERIFY(date->isVisible());
        QCOMPARE(date->displayText(), QStringLiteral("02.03.2026 14:37:50"));
        click(grid, 2, 1); // a click drops the edit
        QVERIFY(!date->isVisible());
        QCOMPARE(table.text(2, 1), QStringLiteral("?"));

        doubleClick(grid, 3, 1);
        QCOMPARE(date->displayText(), QStringLiteral("07.03.2024 09:05:03"));
        QTest::keyClick(date, Qt::Key_Home);
        QTest::keyClick(date, Qt::Key_0);
        QTest::keyClick(date, Qt::Key_8);
        QTest::keyClick(date, Qt::Key_Return);
        QVERIFY(!date->isVisible());
        QCOMPARE(table.text(3, 1), QStringLiteral("08.03.2024 09:05:03"));
        QCOMPARE(state().TableModified, int16_t(2));

        click(grid, 4, 1); // an emptied date box leaves a blank
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(date->isVisible());
        date->clear();
        QTest::keyClick(date, Qt::Key_Enter);
        QCOMPARE(table.text(4, 1), QStringLiteral(" "));

        click(grid, 3, 5); // Enter in the grid edits, Esc cancels and keeps the earlier edits marked
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(text->isVisible());
        QCOMPARE(text->selectedText(), QStringLiteral("poznámka"));
        QTest::keyClicks(text, QStringLiteral("jina"));
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(!text->isVisible());
        QCOMPARE(table.text(3, 5), QStringLiteral("poznámka"));
        QCOMPARE(state().TableModified, int16_t(2));

        doubleClick(grid, 3, 0); // the row numbers are not edited
        QVERIFY(!date->isVisible() && !text->isVisible());
    }

    void clipboardAndDeleteFollowTheSelection()
    {
        MeasurementTable &table = measurementTable();
        for (int row = 1; row <= 9; ++row) // each cell named after its place
            for (int column = 1; column <= 5; ++column)
                table.setText(row, column, QStringLiteral("r%1c%2").arg(row).arg(column));
        QClipboard *clipboard = QGuiApplication::clipboard();

        click(grid, 3, 2); // from column 2 the copy starts at column 0
        click(grid, 4, 3, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("3\tr3c1\tr3c2\tr3c3\t\r\n4\tr4c1\tr4c2\tr4c3\t\r\n"));
        click(grid, 3, 3);
        click(grid, 3, 4, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("r3c3\tr3c4\t\r\n"));

        click(grid, 5, 1); // Delete empties exactly the 2 x 3 cells
        click(grid, 6, 3, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_Delete);
        for (int row = 4; row <= 7; ++row)
            for (int column = 0; column <= 4; ++column) {
                const bool inside = row >= 5 && row <= 6 && column >= 1 && column <= 3;
                QCOMPARE(table.text(row, column).isEmpty(), inside);
            }

        click(grid, 8, 3); // drawn up and left: nothing copied, nothing cleared
        click(grid, 7, 2, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QString());
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(table.text(7, 2), QStringLiteral("r7c2"));
        QCOMPARE(table.text(8, 3), QStringLiteral("r8c3"));

        click(grid, 1, 4); // cut one cell, paste it into another
        QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("r1c4"));
        QCOMPARE(table.text(1, 4), QString());
        click(grid, 2, 5);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(table.text(2, 5), QStringLiteral("r1c4"));

        click(grid, 2, 0); // the row numbers stay, and nothing changed is nothing to save
        state().TableModified = 0;
        QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(grid, Qt::Key_Delete);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("2"));
        QCOMPARE(table.text(2, 0), QStringLiteral("2"));
        QCOMPARE(state().TableModified, int16_t(0));
    }

    void keysThatChangeACellMakeEmptyingTheTableAsk_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("asks");
        QTest::newRow("Delete") << int(Qt::Key_Delete) << "r2c5"
                                << "" << true;
        QTest::newRow("Delete on an empty cell") << int(Qt::Key_Delete) << ""
                                                 << "" << false;
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << "r2c5"
                                << "" << true;
        QTest::newRow("Ctrl+X on an empty cell") << int(Qt::Key_X) << ""
                                                 << "" << false;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << "r2c5"
                                << "vloženo" << true;
        QTest::newRow("Ctrl+V of the same text") << int(Qt::Key_V) << "r2c5"
                                                 << "r2c5" << false;
    }
    void keysThatChangeACellMakeEmptyingTheTableAsk()
    {
        QFETCH(int, key);
        QFETCH(QString, cell);
        QFETCH(QString, clipboard);
        QFETCH(bool, asks);
        measurementTable().setText(2, 5, cell);
        QGuiApplication::clipboard()->setText(clipboard);
        click(grid, 2, 5);
        QTest::keyClick(grid, Qt::Key(key), key == Qt::Key_Delete ? Qt::NoModifier : Qt::ControlModifier);
        QVERIFY(ClearTable()); // the question, if asked, is answered Yes
        QCOMPARE(messages.size(), size_t(asks ? 1 : 0));
        if (asks)
            QCOMPARE(messages[0].text, QStringLiteral("Pozor, data nejsou uložena. Chcete je zrušit ?"));
    }

    void fontSizeStaysWithinItsLimits()
    {
        grid->setColumnWidth(0, 3);
        QFont font = grid->font();
        font.setPointSize(10);
        grid->setFont(font);
        QList<int> sizes;
        for (const auto key : {Qt::Key_Plus, Qt::Key_Minus})
            for (int press = 0; press < 10; ++press) {
                QTest::keyClick(grid, key, Qt::ShiftModifier | Qt::KeypadModifier);
                sizes << grid->font().pointSize();
            }
        QCOMPARE(sizes, (QList<int>{12, 14, 16, 18, 20, 22, 24, 24, 24, 24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 6}));
        QCOMPARE(grid->columnWidth(0), qRound(window->logicalDpiX() * 800 / 1440.0));
    }

    void ctrlXInTheGridCutsAndElsewhereQuits()
    {
        window.reset();
        MDIForm1 main;
        auto *table = new vse_mer;
        main.setTableWindow(main.addChild(table));
        main.show();
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        measurementTable().setText(1, 5, QStringLiteral("cut me"));
        measurementTable().setCurrentCell(1, 5);
        table->grid()->setFocus();
        QVERIFY(!ctrlXAsksToQuit(main, table->grid()));
        QCOMPARE(measurementTable().text(1, 5), QString());
        main.setFocus();
        QVERIFY(ctrlXAsksToQuit(main, &main));
    }

    void saveDialogLeavesTheOverwriteQuestionToTheCommand()
    {
        QTemporaryDir folder;
        SetProgramFolder(folder.path());
        const QString existing = folder.filePath(QStringLiteral("DATA/old.dat"));
        QString directory;
        QTimer::singleShot(0, window.get(), [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            directory = dialog->directory().path();
            QFile(existing).open(QIODevice::WriteOnly); // the dialog made the folder
            dialog->selectFile(existing);
            static_cast<QDialog *>(dialog)->accept(); // as the dialog's own button does
        });
        state().TableModified = 2;
        SaveTableCommand(ChooseTableFile(window.get(), TableFileDialog::Save));
        QCOMPARE(directory, folder.filePath(QStringLiteral("DATA")));
        QCOMPARE(messages.size(), size_t(1)); // asked once, by the command
        QCOMPARE(state().TableModified, int16_t(0));
        QCOMPARE(QFileInfo(existing).size(), qint64(6000));
    }
};

QTEST_MAIN(VseMerTest)
#include "VseMerTest.moc"

#include "table/recording_grid.h"
#include "tests/app/table_window_fixture.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

QStringList recNames(std::initializer_list<int> rows)
{
    QStringList names;
    for (int row : rows)
        names << QStringLiteral("rec%1.krd").arg(row);
    return names;
}

// Counts the Delete presses a widget receives.
class DeleteKeyCounter : public QObject
{
public:
    int presses = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete)
            ++presses;
        return false;
    }
};

} // namespace

class EditTableTest : public TableWindowTest
{
protected:
    // Shows the window with rows rec1.krd to recN.krd and row `selected` selected.
    void showRows(int count, int selected)
    {
        addRecordings(count);
        window->sgrid->setRow(selected);
        window->show();
        refreshes.clear();
    }

    // The names in the selected row each time the grid raises its click.
    QStringList clickedNames;
    void watchClicks()
    {
        QObject::connect(window->sgrid, &RecordingGrid::gridClick, window.get(), [this] {
            clickedNames << window->table().cell(window->sgrid->row(), ColFileName);
        });
    }

    void pressDelete(Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window->windowHandle(), Qt::Key_Delete, modifiers);
    }
};

TEST_F(EditTableTest, DeleteRemovesTheSelectedRowAndSelectsTheOneThatTookItsPlace)
{
    struct Case {
        int rows;
        int selected;
        QStringList left;
        int selectedAfter;
    };
    for (const Case &c : {Case{3, 3, recNames({1, 2}), 2}, Case{3, 2, recNames({1, 3}), 2},
                          Case{1, 1, {}, 0}}) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, row " << c.selected << " deleted");
        window = std::make_unique<TFmain>(&prompts);
        showRows(c.rows, c.selected);
        QSignalSpy clicks(window->sgrid, &RecordingGrid::gridClick);

        window->B_delClick();

        EXPECT_EQ(column(ColFileName), c.left);
        EXPECT_EQ(window->sgrid->row(), c.selectedAfter);
        EXPECT_EQ(clicks.count(), 0);
        QStringList numbers;
        for (int n = 1; n <= c.left.size(); ++n)
            numbers << QString::number(n);
        EXPECT_EQ(column(ColNumber), numbers);
        EXPECT_EQ(window->B_del->isEnabled(), !c.left.isEmpty());
    }
}

TEST_F(EditTableTest, ClearLeavesTheHeaderRowOnly)
{
    addRecordings(3, 100000);
    window->B_delallClick();
    EXPECT_EQ(window->table().rowCount(), 1);
    EXPECT_EQ(window->table().cell(0, ColFileName), "Имя файла");
    EXPECT_EQ(window->sgrid->row(), 0);
    EXPECT_EQ(window->L_list2->text(), "0");
    EXPECT_FALSE(window->B_delall->isEnabled());
    EXPECT_FALSE(window->SaveListBtn->isEnabled());
}

TEST_F(EditTableTest, DeleteKeyRemovesOneRowWhateverHasTheFocusAndTheKeyGoesOn)
{
    showRows(3, 2);
    DeleteKeyCounter focused;
    window->GetListBtn->installEventFilter(&focused);
    window->GetListBtn->setFocus();

    // The button ignores the key, which then goes up to its parents.
    pressDelete(Qt::ShiftModifier);
    EXPECT_EQ(column(ColFileName), recNames({1, 3}));
    EXPECT_EQ(focused.presses, 1);

    window->sgrid->setFocus();
    pressDelete(Qt::ControlModifier);
    EXPECT_EQ(column(ColFileName), recNames({1}));
}

TEST_F(EditTableTest, DeleteKeyDoesNothingWithoutRowsDuringAnUploadOrInADialog)
{
    window->show();
    pressDelete();
    EXPECT_EQ(window->table().rowCount(), 1);

    showRows(2, 1);
    window->SetTransferState();
    pressDelete();
    EXPECT_EQ(window->table().rowCount(), 3);

    window->SetIdleState();
    QMessageBox box(window.get());
    box.open();
    QTest::keyClick(box.windowHandle(), Qt::Key_Delete);
    EXPECT_EQ(window->table().rowCount(), 3);
}

TEST_F(EditTableTest, CtrlUpAndDownMoveTheRecordingAndKeepNumbersAndCodesInPlace)
{
    showRows(5, 3);
    const RecordingTable before = window->table();
    watchClicks();

    QTest::keyClick(window->sgrid, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(column(ColFileName), recNames({1, 3, 2, 4, 5}));
    EXPECT_EQ(window->sgrid->row(), 2);
    for (int row = 1; row <= 5; ++row) {
        EXPECT_EQ(window->table().cell(row, ColNumber), before.cell(row, ColNumber));
        EXPECT_EQ(window->table().cell(row, ColCode), before.cell(row, ColCode));
    }
    // Every other column went along with the recording.
    EXPECT_EQ(std::vector(window->table().row(2).begin() + ColFileName, window->table().row(2).end()),
              std::vector(before.row(3).begin() + ColFileName, before.row(3).end()));

    QTest::keyClick(window->sgrid, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(window->sgrid, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(column(ColFileName), recNames({1, 2, 4, 3, 5}));
    EXPECT_EQ(window->sgrid->row(), 4);

    // The click of each move finds the moved recording selected.
    EXPECT_EQ(clickedNames, recNames({3, 3, 3}));
    EXPECT_TRUE(refreshes.empty());
}

TEST_F(EditTableTest, CtrlUpAndDownAtTheEndsChangeNothing)
{
    struct Case {
        int rows;
        int selected;
        Qt::Key key;
    };
    for (const Case &c : {Case{5, 1, Qt::Key_Up}, Case{5, 5, Qt::Key_Down}, Case{1, 1, Qt::Key_Up},
                          Case{1, 1, Qt::Key_Down}}) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, row " << c.selected);
        window = std::make_unique<TFmain>(&prompts);
        showRows(c.rows, c.selected);
        const QStringList names = column(ColFileName);
        QSignalSpy clicks(window->sgrid, &RecordingGrid::gridClick);

        QTest::keyClick(window->sgrid, c.key, Qt::ControlModifier);
        EXPECT_EQ(column(ColFileName), names);
        EXPECT_EQ(window->sgrid->row(), c.selected);
        EXPECT_EQ(clicks.count(), 0);
    }
}

TEST_F(EditTableTest, PlainUpAndDownOnlyMoveTheSelection)
{
    showRows(5, 3);
    watchClicks();
    QTest::keyClick(window->sgrid, Qt::Key_Up);
    QTest::keyClick(window->sgrid, Qt::Key_Up);
    QTest::keyClick(window->sgrid, Qt::Key_Down);
    EXPECT_EQ(column(ColFileName), recNames({1, 2, 3, 4, 5}));
    EXPECT_EQ(window->sgrid->row(), 2);
    EXPECT_EQ(clickedNames, recNames({2, 1, 2}));
}

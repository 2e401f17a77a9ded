#include "tests/app/table_window_fixture.h"

#include <QDir>

using AddRecordingsTest = TableWindowTest;

TEST_F(AddRecordingsTest, ChosenFilesAreAddedInTheDialogsOrderWithARefreshAfterEach)
{
    prompts.choices = {{recording("c.krd"), recording("a.krd"), recording("b.krd")}};
    window->B_addClick();

    ASSERT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(prompts.dialogs[0].filter, "*.krd (*.krd)");
    EXPECT_EQ(prompts.dialogs[0].folder, QDir::homePath());
    EXPECT_EQ(column(ColFileName), (QStringList{"c.krd", "a.krd", "b.krd"}));
    EXPECT_EQ(column(ColNumber), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(refreshes, (std::vector<Refresh>{{1, 0}, {2, 0}, {3, 0}}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(AddRecordingsTest, HeaderFieldsBecomeTheRowsCells)
{
    prompts.choices = {{recording("adpcm.krd", {10000, 0, 2500, 0, {}}),
                        recording("odd.krd", {7, 0, 40, static_cast<int8_t>(0x80), {}}),
                        recording("adpcm.krd", {10000, 0, 2500, 0, {}})}};
    window->B_addClick();

    const RecordingTable &table = window->table();
    ASSERT_EQ(table.rowCount(), 4);
    const QChar point = QLocale().decimalPoint().front();
    EXPECT_EQ(table.cell(1, ColSeconds), QStringLiteral("2") + point + QStringLiteral("5"));
    EXPECT_EQ(table.cell(1, ColSize), "10000");
    EXPECT_EQ(table.cell(1, ColSizeCopy), "10000");
    EXPECT_EQ(table.cell(1, ColPath), path("adpcm.krd"));
    EXPECT_EQ(table.cell(1, ColTypeNumber), "0");
    EXPECT_EQ(table.cell(1, ColTypeName), "АДИКМ");
    EXPECT_EQ(table.cell(1, ColEnabled), "1");
    EXPECT_EQ(table.cell(2, ColTypeNumber), "-128");
    EXPECT_EQ(table.cell(2, ColTypeName), "");
    // The same file twice gives two rows alike but for their numbers.
    EXPECT_EQ(table.row(3)[ColPath], table.row(1)[ColPath]);
    EXPECT_EQ(std::vector(table.row(3).begin() + ColFileName, table.row(3).end()),
              std::vector(table.row(1).begin() + ColFileName, table.row(1).end()));
}

TEST_F(AddRecordingsTest, AMissingFileIsReportedWithTheRowsSoFarShownAndOkGoesOn)
{
    const QString missing = path("missing.krd");
    prompts.choices = {{recording("a.krd"), missing, recording("c.krd")}};
    window->B_addClick();

    ASSERT_EQ(prompts.messages.size(), 1u);
    Prompts::Message expected{"Файл " + missing + " не найден", "Ошибка", Prompts::Icon::Warning,
                              Prompts::Buttons::OkCancel, Prompts::Answer::Ok};
    expected.ownedByWindow = false;
    EXPECT_EQ(prompts.messages[0], expected);
    EXPECT_EQ(column(ColFileName), (QStringList{"a.krd", "c.krd"}));
    EXPECT_EQ(refreshes, (std::vector<Refresh>{{1, 0}, {1, 0}, {1, 1}, {2, 1}}));
}

TEST_F(AddRecordingsTest, CancelInAWarningStopsTheAdding)
{
    RecordingFields lowerCase;
    lowerCase.magic = "krod";
    const QString wrong = recording("lower.krd", lowerCase);
    prompts.choices = {{recording("a.krd"), wrong, recording("c.krd")}};
    prompts.answers = {Prompts::Answer::Cancel};
    window->B_addClick();

    EXPECT_EQ(prompts.messageTexts(), QStringList{"Файл " + wrong + " - неверный формат"});
    EXPECT_EQ(column(ColFileName), QStringList{"a.krd"});
    EXPECT_EQ(refreshes, (std::vector<Refresh>{{1, 0}, {1, 0}, {1, 1}}));
}

TEST_F(AddRecordingsTest, AShortFileHasTheWrongFormat)
{
    const QString shortFile = writeFile(path("short.krd"), recordingBytes({}).left(100));
    prompts.choices = {{shortFile}};
    window->B_addClick();
    EXPECT_EQ(prompts.messageTexts(), QStringList{"Файл " + shortFile + " - неверный формат"});
    EXPECT_FALSE(window->table().hasRecordings());
}

TEST_F(AddRecordingsTest, AFileThatCannotBeReadEndsTheAddingAndKeepsTheRowsBefore)
{
    const QString unreadable = QStringLiteral("/proc/self/mem"); // opens, but every read fails
    prompts.choices = {{recording("a.krd"), unreadable, recording("c.krd")}};
    window->B_addClick();

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "Ошибка");
    EXPECT_EQ(prompts.messages[0].icon, Prompts::Icon::Error);
    EXPECT_TRUE(prompts.messages[0].text.contains(unreadable));
    EXPECT_EQ(column(ColFileName), QStringList{"a.krd"});
    EXPECT_EQ(column(ColNumber), QStringList{"1"});
}

TEST_F(AddRecordingsTest, CancellingTheDialogAddsAndRefreshesNothing)
{
    window->B_addClick();
    EXPECT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_FALSE(window->table().hasRecordings());
    EXPECT_TRUE(refreshes.empty());
}

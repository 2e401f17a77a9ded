#include "tests/app/table_window_fixture.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ListFilesTest : public TableWindowTest
{
protected:
    // Writes a list file into the folder and loads it through the window.
    void loadList(const QByteArray &text, const QString &name = QStringLiteral("list.txt"))
    {
        prompts.choices.push_back({writeFile(path(name), text)});
        window->GetListBtnClick();
    }
};


TEST_F(ListFilesTest, NamesAreTakenFromTheListsFolderAndTheTableIsRefreshedOnce)
{
    recording("a.krd");
    recording("b c.krd");
    recording("d.krd");
    loadList("a.krd\r\n\r\n   \r\n  b c.krd\r\n\td.krd\tcomment\n");

    ASSERT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(prompts.dialogs[0].filter, "*.pls; *.txt (*.pls *.txt);;Все файлы (*)");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(column(ColFileName), (QStringList{"a.krd", "b c.krd", "d.krd"}));
    EXPECT_EQ(column(ColPath), (QStringList{path("a.krd"), path("b c.krd"), path("d.krd")}));
    EXPECT_EQ(refreshes, (std::vector<Refresh>{{3, 0}}));
}

TEST_F(ListFilesTest, AnEmptyListAddsNothingAndStillRefreshes)
{
    loadList("");
    EXPECT_FALSE(window->table().hasRecordings());
    EXPECT_EQ(refreshes, (std::vector<Refresh>{{0, 0}}));
}

TEST_F(ListFilesTest, ALongLineIsReadInPiecesThatAreEachReported)
{
    recording("a.krd");
    recording("b.krd");
    const QByteArray longName(1500, 'n');
    loadList("a.krd\r\n" + longName + "\r\nb.krd\r\n");

    EXPECT_EQ(prompts.messageTexts(),
              (QStringList{"Файл " + path(QString::fromLatin1(longName.left(1022))) + " не найден",
                           "Файл " + path(QString::fromLatin1(longName.mid(1022))) + " не найден"}));
    EXPECT_EQ(column(ColFileName), (QStringList{"a.krd", "b.krd"}));
}

TEST_F(ListFilesTest, CancelOnTheSecondOfFiveNamesReadsNoFurther)
{
    for (const char *name : {"a.krd", "c.krd", "d.krd", "e.krd"})
        recording(name);
    prompts.answers = {Prompts::Answer::Cancel};
    loadList("a.krd\r\nmissing.krd\r\nc.krd\r\nd.krd\r\ne.krd\r\n");

    EXPECT_EQ(prompts.messageTexts(), QStringList{"Файл " + path("missing.krd") + " не найден"});
    EXPECT_EQ(column(ColFileName), QStringList{"a.krd"});
    // Refreshed before the warning and once at the end.
    EXPECT_EQ(refreshes, (std::vector<Refresh>{{1, 0}, {1, 1}}));
}

TEST_F(ListFilesTest, ASavedListLoadsBackFromTheRecordingsFolderOnly)
{
    prompts.choices = {{recording("звук один.krd"), recording("b.krd")}};
    window->B_addClick();
    const QString listPath = path("список.txt");
    prompts.choices = {{listPath}};
    window->SaveListBtnClick();

    ASSERT_EQ(prompts.dialogs.size(), 2u);
    const Prompts::FileDialog &saveDialog = prompts.dialogs[1];
    EXPECT_EQ(saveDialog.title, "Сохранение списка");
    EXPECT_EQ(saveDialog.filter, "*.txt;*.pls (*.txt *.pls)");
    EXPECT_EQ(saveDialog.defaultSuffix, "txt");
    EXPECT_FALSE(saveDialog.confirmOverwrite);
    const QByteArray saved = contentsOf(listPath);
    EXPECT_EQ(saved, "\xE7\xE2\xF3\xEA \xEE\xE4\xE8\xED.krd\r\nb.krd\r\n");

    window->B_delallClick();
    loadList(saved);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(column(ColFileName), (QStringList{"звук один.krd", "b.krd"}));
    EXPECT_EQ(column(ColPath), (QStringList{path("звук один.krd"), path("b.krd")}));

    // The same list in another folder finds nothing there.
    window->B_delallClick();
    QDir(dir.path()).mkdir("elsewhere");
    loadList(saved, "elsewhere/list.txt");
    EXPECT_EQ(prompts.messageTexts(),
              (QStringList{"Файл " + path("elsewhere/звук один.krd") + " не найден",
                           "Файл " + path("elsewhere/b.krd") + " не найден"}));
    EXPECT_FALSE(window->table().hasRecordings());
}

TEST_F(ListFilesTest, AListThatCannotBeOpenedChangesNothing)
{
    addRecordings(1);
    refreshes.clear();
    prompts.choices = {{path("gone.txt")}};
    window->GetListBtnClick();

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, Prompts::Icon::Error);
    EXPECT_TRUE(prompts.messages[0].text.startsWith("Не удалось открыть список " + path("gone.txt")));
    EXPECT_EQ(window->table().rowCount(), 2);
    EXPECT_TRUE(refreshes.empty());
}

TEST_F(ListFilesTest, AFileThatCannotBeReadEndsTheLoadingWithTheRowsBeforeShown)
{
    recording("a.krd");
    recording("b.krd");
    loadList("a.krd\r\n/proc/self/mem\r\nb.krd\r\n");

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, Prompts::Icon::Error);
    EXPECT_TRUE(prompts.messages[0].text.contains("/proc/self/mem"));
    EXPECT_EQ(column(ColFileName), QStringList{"a.krd"});
    // Refreshed before the error was shown.
    EXPECT_EQ(refreshes, (std::vector<Refresh>{{1, 0}}));
}

TEST_F(ListFilesTest, ANameWindows1251CannotHoldIsRefusedAndNothingIsWritten)
{
    prompts.choices = {{recording("a.krd"), recording("音.krd")}};
    window->B_addClick();
    const QString listPath = path("list.txt");
    prompts.choices = {{listPath}};
    window->SaveListBtnClick();

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, Prompts::Icon::Error);
    EXPECT_TRUE(prompts.messages[0].text.contains("音.krd"));
    EXPECT_FALSE(QFile::exists(listPath));
    EXPECT_EQ(window->table().rowCount(), 3);
}

TEST_F(ListFilesTest, CancelledListDialogsDoNothing)
{
    addRecordings(1);
    refreshes.clear();
    window->GetListBtnClick();
    window->SaveListBtnClick();
    EXPECT_EQ(prompts.dialogs.size(), 2u);
    EXPECT_EQ(window->table().rowCount(), 2);
    EXPECT_TRUE(refreshes.empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// Files a user can meet that are not as the program would like them: a
// folder that takes no files, a full disk, list files that are no
// Windows-1251 text. Each gets its message, and nothing is lost.
#include "tests/app/table_window_fixture.h"
#include "tests/support/unwritable_folders.h"

#include <QDir>
#include <QFile>
#include <QLabel>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class BadFilesTest : public TableWindowTest
{
protected:
    void SetUp() override
    {
        TableWindowTest::SetUp();
        prompts.choices = {{recording("tone.krd", {1000, 2000, 2500, 0, QByteArray(1000, '\x01')})}};
        window->B_addClick();
        refreshes.clear();
    }

    void saveImage(const QString &path)
    {
        prompts.choices = {{path}};
        window->SaveBinBtnClick();
    }

    void saveList(const QString &path)
    {
        prompts.choices = {{path}};
        window->SaveListBtnClick();
    }

    void loadList(const QByteArray &text)
    {
        prompts.choices = {{writeFile(path("list.txt"), text)}};
        window->GetListBtnClick();
    }

    // One error box for each beginning given, and a reason after it.
    void expectErrors(const QStringList &beginnings)
    {
        ASSERT_EQ(prompts.messages.size(), size_t(beginnings.size())) << prompts.messageTexts().join('\n').toStdString();
        for (qsizetype i = 0; i < beginnings.size(); ++i) {
            const Prompts::Message &message = prompts.messages[size_t(i)];
            EXPECT_EQ(message.caption, "Ошибка");
            EXPECT_EQ(message.icon, Prompts::Icon::Error);
            EXPECT_TRUE(message.text.startsWith(beginnings[i]) && message.text.size() > beginnings[i].size() + 2)
                << message.text.toStdString();
        }
    }

    void expectTableAsItWas()
    {
        EXPECT_EQ(column(ColFileName), QStringList{"tone.krd"});
        EXPECT_TRUE(window->StaticT1->isHidden() && window->StaticT2->isHidden());
    }

    const std::map<QString, QByteArray> oldFiles{{"out.bkr", "old image"}, {"list.txt", "old.krd\r\n"}};
};

TEST_F(BadFilesTest, AReadOnlyFolderTakesNeitherImageNorListAndKeepsItsFiles)
{
    const ReadOnlyFolder folder(path("read-only"), oldFiles);
    if (!folder.problem().isEmpty())
        GTEST_SKIP() << "no read-only folder here: " << folder.problem().toStdString();

    for (const char *name : {"out.bkr", "new.bkr"})
        saveImage(folder.filePath(name));
    for (const char *name : {"list.txt", "new.txt"})
        saveList(folder.filePath(name));

    expectErrors({"Не удалось создать файл образа " + folder.filePath("out.bkr") + ": ",
                  "Не удалось создать файл образа " + folder.filePath("new.bkr") + ": ",
                  "Не удалось записать список " + folder.filePath("list.txt") + ": ",
                  "Не удалось записать список " + folder.filePath("new.txt") + ": "});
    EXPECT_EQ(QDir(folder.filePath({})).entryList(QDir::Files), (QStringList{"list.txt", "out.bkr"}));
    EXPECT_EQ(contentsOf(folder.filePath("out.bkr")), "old image");
    EXPECT_EQ(contentsOf(folder.filePath("list.txt")), "old.krd\r\n");
    expectTableAsItWas();
}

// The image (6336 bytes) runs out of room in its data page, the list (10
// bytes) at once.
TEST_F(BadFilesTest, AFullDiskLeavesTheOldImageAndListAndNoPartOfTheNewOnes)
{
    const QString folder = path("full");
    QDir().mkpath(folder);
    for (const auto &[name, bytes] : oldFiles)
        writeFile(folder + '/' + name, bytes);
    {
        const FileSizeLimit imageRoom(6000);
        saveImage(folder + "/out.bkr");
        saveImage(folder + "/new.bkr");
    }
    {
        const FileSizeLimit listRoom(4);
        saveList(folder + "/list.txt");
        saveList(folder + "/new.txt");
    }

    expectErrors({"Не удалось записать файл образа " + folder + "/out.bkr: ",
                  "Не удалось записать файл образа " + folder + "/new.bkr: ",
                  "Не удалось записать список " + folder + "/list.txt: ",
                  "Не удалось записать список " + folder + "/new.txt: "});
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{"list.txt", "out.bkr"}));
    EXPECT_EQ(contentsOf(folder + "/out.bkr"), "old image");
    EXPECT_EQ(contentsOf(folder + "/list.txt"), "old.krd\r\n");
    expectTableAsItWas();

    // With room again both are written.
    saveImage(folder + "/out.bkr");
    saveList(folder + "/list.txt");
    EXPECT_EQ(contentsOf(folder + "/out.bkr").size(), 6336);
    EXPECT_EQ(contentsOf(folder + "/list.txt"), "tone.krd\r\n");
}

// A list saved as UTF-16, or a file that is no list at all, would lose
// names without a word if read line by line: it is refused whole.
TEST_F(BadFilesTest, AListWithZeroBytesIsRefusedBeforeAnyNameIsAdded)
{
    recording("a.krd");
    for (const QByteArray &text : {QByteArray("\xFF\xFE" "a\0.\0k\0r\0d\0\r\0\n\0", 16),
                                   QByteArray("a.krd\r\nb\0.krd\r\n", 15)}) {
        prompts.messages.clear();
        loadList(text);
        expectErrors({"Список " + path("list.txt") + " - неверный формат: в нем есть нулевые байты"});
    }
    expectTableAsItWas();
    EXPECT_TRUE(refreshes.empty());
}

// 0x98, the one byte Windows-1251 leaves unassigned, reads as U+0098, as it
// is written back: such a name is looked for, reported when missing like any
// other, and the names around it are added.
TEST_F(BadFilesTest, ANameWithABytesWindows1251LacksIsReportedAndTheOthersAreAdded)
{
    recording("a.krd");
    recording("b.krd");
    loadList("a.krd\r\n\x98.krd\r\nb.krd\r\n");

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Файл " + path(QStringLiteral("\u0098.krd")) + " не найден");
    EXPECT_EQ(prompts.messages[0].icon, Prompts::Icon::Warning);
    EXPECT_EQ(column(ColFileName), (QStringList{"tone.krd", "a.krd", "b.krd"}));
}

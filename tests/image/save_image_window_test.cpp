#include "image/image_reader.h"
#include "tests/image/image_fixture.h"
#include "tests/support/window_fixture.h"

#include <QDir>
#include <QLabel>
#include <QTest>

class SaveImageWindowTest : public WindowTest
{
protected:
    QString addRecordingFile(const QString &name)
    {
        const QString file = writeRecording(dir.filePath(name), {1000, 2000, 0, 0, QByteArray(1000, '\x01')});
        addRow(window->table(), file);
        window->RefreshTable();
        return file;
    }

    QString target() const { return dir.filePath("out.bkr"); }

    bool plateHidden() const { return window->StaticT1->isHidden() && window->StaticT2->isHidden(); }

    QTemporaryDir dir;
};

TEST_F(SaveImageWindowTest, SavesTheChosenFileAndSaysDone)
{
    addRecordingFile("tone.krd");
    prompts.choices = {{target()}};
    window->SaveBinBtnClick();

    ASSERT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(prompts.dialogs[0].filter, "*.bkr (*.bkr)");
    EXPECT_EQ(prompts.dialogs[0].defaultSuffix, "bkr");
    EXPECT_TRUE(prompts.dialogs[0].confirmOverwrite);
    EXPECT_EQ(prompts.messages,
              (std::vector<Prompts::Message>{{"Готово", "Сообщение", Prompts::Icon::Information}}));
    const ImageInspection image = inspectImage(target());
    EXPECT_TRUE(image.consistent());
    EXPECT_EQ(image.catalogue, QStringList{"tone.krd"});
    EXPECT_TRUE(plateHidden());
}

TEST_F(SaveImageWindowTest, StatusPlateIsPaintedWhileTheImageIsBuilt)
{
    class PaintWatch : public QObject
    {
    public:
        QStringList paintedTexts;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                paintedTexts << static_cast<QLabel *>(watched)->text();
            return false;
        }
    } watch;
    addRecordingFile("tone.krd");
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->StaticT2->installEventFilter(&watch);

    EXPECT_TRUE(window->BuildTableImage(target()));
    EXPECT_TRUE(watch.paintedTexts.contains("Обработка файлов..."));
    EXPECT_TRUE(plateHidden());
    EXPECT_TRUE(prompts.messages.empty());
    // Hidden while whole: hiding the port selector reports a close-up to
    // the window, which must not reach a window half destroyed.
    window->hide();
}

TEST_F(SaveImageWindowTest, LimitCheckRefusesBeforeTheDialog)
{
    struct Case {
        int rows;
        int size;
        const char *message;
    };
    for (const Case &c : {Case{33, 10, "Превышено допустимое количество голосов"},
                          Case{1, 4320097, "Превышен максимальный объем"},
                          Case{33, 200000, "Превышено допустимое количество голосов"}}) {
        SCOPED_TRACE(c.message);
        prompts.messages.clear();
        window->table().setRowCount(1);
        addRecordings(c.rows, c.size);
        const Prompts::Message refusal{c.message, "Ошибка", Prompts::Icon::None, Prompts::Buttons::OkCancel};

        prompts.answers = {Prompts::Answer::Ok};
        window->SaveBinBtnClick();
        prompts.answers = {Prompts::Answer::Cancel};
        EXPECT_FALSE(window->BuildTableImage(target()));

        EXPECT_EQ(prompts.messages, (std::vector<Prompts::Message>{refusal, refusal}));
        EXPECT_TRUE(prompts.dialogs.empty());
        EXPECT_FALSE(QFile::exists(target()));
    }
}

TEST_F(SaveImageWindowTest, CancelledDialogWritesNothingAndShowsNothing)
{
    addRecordingFile("tone.krd");
    window->SaveBinBtnClick();
    EXPECT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"tone.krd"});
}

TEST_F(SaveImageWindowTest, BuildErrorIsShownAndTheOldImageStays)
{
    const QString gone = addRecordingFile("gone.krd");
    QFile::remove(gone);
    writeFile(target(), "old image");
    prompts.choices = {{target()}};
    window->SaveBinBtnClick();

    EXPECT_EQ(prompts.messages, (std::vector<Prompts::Message>{
                                    {"Файл " + gone + " не найден", "Ошибка", Prompts::Icon::Error}}));
    EXPECT_EQ(contentsOf(target()), "old image");
    EXPECT_TRUE(plateHidden());
    EXPECT_FALSE(window->BuildTableImage(target()));
}

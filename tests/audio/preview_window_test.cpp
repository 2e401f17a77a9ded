// The preview as the user drives it: the play button, the grid, the handlers
// that leave it alone, and recordings that cannot be played.
#include "app/port_selector.h"
#include "audio/wav_image.h"
#include "table/recording_file.h"
#include "table/recording_grid.h"
#include "tests/support/recording_files.h"
#include "tests/support/window_fixture.h"

#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class PreviewTest : public WindowTest
{
protected:
    void SetUp() override
    {
        // No sound from the tests, whatever server the machine runs: the
        // output then fails quietly as it does with no device.
        qputenv("PULSE_SERVER", "unix:/nonexistent/soundloader-test");
        WindowTest::SetUp();
    }

    // Adds a recording as the add dialog would and returns its path.
    QString addRecording(const QString &name, const RecordingFields &fields)
    {
        const QString path = writeRecording(dir.filePath(name), fields);
        const RecordingFile file = readRecordingFile(path);
        appendRecordingRow(window->table(), path, file.header);
        window->RefreshTable();
        return path;
    }

    void addThreeRecordings()
    {
        first = addRecording(QStringLiteral("one.krd"), {2, 3, 100, 0, "\x77\x77"});
        second = addRecording(QStringLiteral("two.krd"), {2, 2, 100, 1, "\x01\x02"});
        third = addRecording(QStringLiteral("three.krd"), {4, 2, 100, 2, "\x01\x02\x03\x04"});
    }

    bool playing(const QString &path) const
    {
        return window->previewBuffer() == readPreviewImage(path) && shows(5);
    }

    bool idle() const { return window->previewBuffer().isNull() && shows(4); }

    bool shows(int picture) const
    {
        return window->B_play->icon().cacheKey() == window->ImageList1[picture].cacheKey();
    }

    void clickRow(int row)
    {
        RecordingGrid *grid = window->sgrid;
        const QRect cell = grid->visualRect(grid->model()->index(row - 1, ColFileName));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QTemporaryDir dir;
    QString first, second, third;
};

TEST_F(PreviewTest, PlayButtonStartsAndStopsTheSelectedRecording)
{
    addThreeRecordings();
    ASSERT_TRUE(idle());
    window->sgrid->setRow(2);

    window->B_play->click();
    EXPECT_TRUE(playing(second));

    window->B_play->click();
    EXPECT_TRUE(idle());
    window->StopPreview();
    EXPECT_TRUE(idle());

    // A recording without samples plays too: a bare header, nothing to hear.
    const QString empty = addRecording(QStringLiteral("empty.krd"), {0, 0, 0, 0, {}});
    window->sgrid->setRow(4);
    window->B_play->click();
    EXPECT_TRUE(playing(empty));
    EXPECT_EQ(window->previewBuffer().size(), kWavHeaderSize);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PreviewTest, WhilePlayingEverySelectionChangeSwitchesTheRecording)
{
    addThreeRecordings();
    window->sgrid->setFocus();
    window->B_play->click();
    ASSERT_TRUE(playing(first));

    QTest::keyClick(window->sgrid, Qt::Key_Down);
    EXPECT_TRUE(playing(second));
    QTest::keyClick(window->sgrid, Qt::Key_Down);
    EXPECT_TRUE(playing(third));
    clickRow(1);
    EXPECT_TRUE(playing(first));
    clickRow(1); // the playing row again: restarted, still playing
    EXPECT_TRUE(playing(first));
    window->sgrid->setRow(3);
    EXPECT_TRUE(playing(third));

    window->sgrid->setRow(0);
    EXPECT_TRUE(idle());
}

TEST_F(PreviewTest, ClicksAndMovesNeverStartAPreview)
{
    addThreeRecordings();
    window->sgrid->setFocus();
    clickRow(2);
    QTest::keyClick(window->sgrid, Qt::Key_Down);
    window->sgrid->setRow(1);
    EXPECT_TRUE(idle());
}

TEST_F(PreviewTest, HandlersThatChangeTheTableOrWriteAFileStopItFirst)
{
    addThreeRecordings();
    const std::pair<const char *, void (TFmain::*)()> handlers[] = {
        {"add", &TFmain::B_addClick},           {"save list", &TFmain::SaveListBtnClick},
        {"load list", &TFmain::GetListBtnClick}, {"save image", &TFmain::SaveBinBtnClick},
        {"delete", &TFmain::B_delClick},        {"clear", &TFmain::B_delallClick},
        {"upload table", &TFmain::B_recClick},  {"upload image", &TFmain::B_binClick},
    };
    for (const auto &[name, handler] : handlers) {
        if (!window->table().hasRecordings())
            addThreeRecordings();
        window->B_play->click();
        ASSERT_TRUE(shows(5)) << name;
        // Every dialog the handler opens is cancelled.
        (window.get()->*handler)();
        EXPECT_TRUE(idle()) << name;
    }
}

TEST_F(PreviewTest, ModelAndPortChangesLeaveThePreviewPlaying)
{
    addThreeRecordings();
    window->B_play->click();
    window->RadioButton2->click();
    dropDownPortList();
    window->RadioButton1->click();
    EXPECT_TRUE(playing(first));
}

TEST_F(PreviewTest, UnplayableRecordingShowsTheErrorAndStaysIdle)
{
    addThreeRecordings();
    const QString refused = addRecording(QStringLiteral("refused.krd"), {0, -7, 100, 0, {}});
    ASSERT_TRUE(QFile::remove(second));

    window->sgrid->setRow(2);
    window->B_play->click();
    EXPECT_TRUE(idle());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Файл %1 не найден").arg(second));
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(prompts.messages[0].icon, Prompts::Icon::Error);

    // Switching to it while another plays stops the preview with the same error.
    window->sgrid->setRow(1);
    window->B_play->click();
    window->sgrid->setRow(2);
    EXPECT_TRUE(idle());
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, prompts.messages[0].text);

    window->sgrid->setRow(4);
    window->B_play->click();
    EXPECT_TRUE(idle());
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_TRUE(prompts.messages[2].text.startsWith(QStringLiteral("Файл %1 - неверное число отсчетов: -7").arg(refused)));
}

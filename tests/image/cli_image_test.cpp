#include "image/image_reader.h"
#include "tests/image/image_fixture.h"
#include "tests/support/cli_run.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

class CliImageTest : public ImageTest
{
protected:
    CliImageTest()
    {
        QDir(dir.path()).mkdir("lists");
        writeRecording(path("a.krd"), {1000, 2000, 0, 0, QByteArray(1000, '\x01')});
        writeRecording(path("b.krd"), {1057, 7, 0, 2, QByteArray(1057, '\x02')});
        writeRecording(path("lists/звук.krd"), {10, 20, 0, 1, QByteArray(10, '\x03')});
    }

    CliRun run(const QStringList &args) { return runCli(args, dir.path()); }
};

TEST_F(CliImageTest, BuildsFilesAndListNamesInCommandLineOrder)
{
    writeFile(path("lists/set.pls"), "\r\n  \xE7\xE2\xF3\xEA.krd\r\n");
    const CliRun built = run({"build", "--model", "99", "out.bkr", "a.krd", "--list", "lists/set.pls", "b.krd"});
    ASSERT_EQ(built.status, 0) << built.err.toStdString();
    EXPECT_EQ(built.out, "Готово: out.bkr (записей: 3, байт: 9504)\n");

    const ImageInspection image = inspectImage(path("out.bkr"));
    EXPECT_TRUE(image.consistent());
    EXPECT_EQ(image.catalogue, (QStringList{"a.krd", "звук.krd", "b.krd"}));

    const CliRun plain = run({"inspect", "out.bkr"});
    EXPECT_EQ(plain.status, 0);
    EXPECT_TRUE(plain.out.contains("  2. звук.krd\n"));
    EXPECT_TRUE(plain.out.endsWith("\nOK\n"));

    const CliRun json = run({"inspect", "out.bkr", "--json"});
    EXPECT_EQ(json.status, 0);
    const QJsonObject report = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_TRUE(report["consistent"].toBool());
    EXPECT_EQ(report["directory"].toArray()[2].toObject()["start"].toInt(), 56);
    EXPECT_EQ(report["directory"].toArray()[2].toObject()["pages"].toInt(), 2);
}

TEST_F(CliImageTest, WhatTheWindowWouldWarnAboutFailsTheBuild)
{
    writeFile(path("bad.krd"), "not a recording");
    writeFile(path("lists/missing.pls"), "\xE7\xE2\xF3\xEA.krd\r\nnothere.krd\r\n");
    QStringList tooMany{"build", "out.bkr"};
    for (int i = 0; i < 33; ++i)
        tooMany << "a.krd";
    struct Case {
        QStringList args;
        QString error;
    };
    for (const Case &c : {
             Case{{"build", "out.bkr", "a.krd", "nothere.krd"}, "Файл nothere.krd не найден\n"},
             Case{{"build", "out.bkr", "bad.krd"}, "Файл bad.krd - неверный формат\n"},
             Case{{"build", "out.bkr", "--list", "lists/missing.pls"},
                  "Файл " + path("lists/nothere.krd") + " не найден\n"},
             Case{tooMany, "Превышено допустимое количество голосов\n"}}) {
        const CliRun result = run(c.args);
        EXPECT_EQ(result.status, 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(result.err.toStdString(), c.error.toStdString());
        EXPECT_FALSE(QFile::exists(path("out.bkr")));
    }
    tooMany.insert(1, "--model");
    tooMany.insert(2, "99");
    EXPECT_EQ(run(tooMany).status, 0);
}

TEST_F(CliImageTest, BadCommandLinesAreUsageErrors)
{
    for (const QStringList &args : {QStringList{"build"}, QStringList{"build", "--model", "50", "out.bkr"},
                                    QStringList{"build", "--list"}, QStringList{"build", "--fast", "out.bkr"},
                                    QStringList{"inspect"}, QStringList{"inspect", "a.bkr", "b.bkr"}}) {
        const CliRun result = run(args);
        EXPECT_EQ(result.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("Использование: soundloader-cli " + args[0]));
    }
    EXPECT_FALSE(QFile::exists(path("out.bkr")));
}

TEST_F(CliImageTest, InspectNamesTheFirstFault)
{
    ASSERT_EQ(run({"build", "out.bkr", "a.krd"}).status, 0);
    QByteArray image = contentsOf(path("out.bkr"));
    image[5280] = 0x02;
    writeFile(path("out.bkr"), image);

    const CliRun plain = run({"inspect", "out.bkr"});
    EXPECT_EQ(plain.status, 1);
    EXPECT_TRUE(plain.out.contains("\nНесоответствие по смещению 5279 (0x149f): контрольная сумма не сходится"))
        << plain.out.toStdString();

    const CliRun json = run({"inspect", "--json", "out.bkr"});
    EXPECT_EQ(json.status, 1);
    const QJsonObject report = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_FALSE(report["consistent"].toBool());
    EXPECT_EQ(report["fault"].toObject()["offset"].toInt(), 5279);

    const CliRun missing = run({"inspect", "none.bkr"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.startsWith("Не удалось открыть файл none.bkr"));
}

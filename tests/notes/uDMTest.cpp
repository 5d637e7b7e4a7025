#include "notes/uDM.h"
#include "NotesFixture.h"
#include "notes/MemoDocument.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTextDocument>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace tevuna;

namespace {

class NotesDatabase : public test::NotesFixture
{
protected:
    // Rows of a key, read straight from the file.
    QList<QByteArray> rows(const QString &key)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(TDM::databasePath().toUtf8().constData(), &db);
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, "SELECT data FROM UserCon WHERE conIndex = ?1", -1, &s, nullptr);
        const QByteArray k = key.toUtf8();
        sqlite3_bind_text(s, 1, k.constData(), -1, SQLITE_TRANSIENT);
        QList<QByteArray> out;
        while (sqlite3_step(s) == SQLITE_ROW)
            out << QByteArray(static_cast<const char *>(sqlite3_column_blob(s, 0)),
                              sqlite3_column_bytes(s, 0));
        sqlite3_finalize(s);
        sqlite3_close(db);
        return out;
    }
};

TEST_F(NotesDatabase, ANeverSavedDateLoadsEmptyAndItsFirstSaveInsertsARow)
{
    QByteArray doc("stale");
    ASSERT_TRUE(dm.loadMemoData(QStringLiteral("20100601"), &doc));
    EXPECT_TRUE(doc.isEmpty());
    ASSERT_TRUE(dm.saveMemoData(QStringLiteral("20100601"), "first"));
    EXPECT_EQ(rows(QStringLiteral("20100601")), QList<QByteArray>{"first"});
}

TEST_F(NotesDatabase, ASecondSaveUpdatesTheOneRowAndAnEmptyDocumentKeepsIt)
{
    ASSERT_TRUE(dm.saveMemoData(QStringLiteral("20240309"), "first"));
    ASSERT_TRUE(dm.saveMemoData(QStringLiteral("20240309"), "second"));
    EXPECT_EQ(rows(QStringLiteral("20240309")), QList<QByteArray>{"second"});
    ASSERT_TRUE(dm.saveMemoData(QStringLiteral("20240309"), QByteArray()));
    EXPECT_EQ(rows(QStringLiteral("20240309")), QList<QByteArray>{QByteArray()});
    QByteArray doc("x");
    ASSERT_TRUE(dm.loadMemoData(QStringLiteral("20240309"), &doc));
    EXPECT_TRUE(doc.isEmpty());
    // Other keys are untouched.
    EXPECT_TRUE(rows(QStringLiteral("20240310")).isEmpty());
}

TEST_F(NotesDatabase, KeysAreBoundNotFormatted)
{
    const QString hostile = QStringLiteral("2024' OR '1'='1");
    ASSERT_TRUE(dm.saveMemoData(QStringLiteral("20240101"), "keep"));
    ASSERT_TRUE(dm.saveMemoData(hostile, "other"));
    EXPECT_EQ(rows(QStringLiteral("20240101")), QList<QByteArray>{"keep"});
    QByteArray doc;
    ASSERT_TRUE(dm.loadMemoData(hostile, &doc));
    EXPECT_EQ(doc, QByteArray("other"));
}

TEST_F(NotesDatabase, AStoredPlainTextDocumentLoadsAsPlainText)
{
    ASSERT_TRUE(dm.saveMemoData(QStringLiteral("20130105"), "\xBF\xAA\xBB\xE1 9:00\r\nbuy milk"));
    QByteArray bytes;
    ASSERT_TRUE(dm.loadMemoData(QStringLiteral("20130105"), &bytes));
    QTextDocument doc;
    ASSERT_TRUE(memodoc::decode(bytes, &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("开会 9:00\nbuy milk"));
}

struct BadFile {
    const char *name;
    QByteArray bytes;
};

class UnusableDatabaseFile : public ::testing::TestWithParam<BadFile>
{};

TEST_P(UnusableDatabaseFile, IsReportedAndLeftByteIdentical)
{
    test::TempHome home;
    test::reporter().clear();
    home.writeFile(QStringLiteral("Data/UserData.db"), GetParam().bytes);
    TDM dm;
    EXPECT_FALSE(dm.OpenDatabase());
    EXPECT_EQ(test::reporter().messages, QStringList{QStringLiteral("配置文件加载失败，请重试！")});
    EXPECT_EQ(home.readFile(QStringLiteral("Data/UserData.db")), GetParam().bytes);
    EXPECT_EQ(QDir(home.path(QStringLiteral("Data"))).entryList(QDir::Files),
              QStringList{QStringLiteral("UserData.db")});
    EXPECT_FALSE(TDM::CreateDatabase(TDM::databasePath(), nullptr));
    EXPECT_EQ(home.readFile(QStringLiteral("Data/UserData.db")), GetParam().bytes);
}

QByteArray truncatedHeader()
{
    QByteArray b("SQLite format 3");
    b.append('\0');
    b.append(QByteArray(84, '\x7f'));
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnusableDatabaseFile,
    ::testing::Values(BadFile{"text", QByteArray("this is not a database\r\n", 24)},
                      BadFile{"zeros", QByteArray(4096, '\0') + QByteArray("x")},
                      BadFile{"empty", QByteArray()}, BadFile{"damaged_header", truncatedHeader()}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(NotesDatabaseOpen, AMissingFileIsReportedAndNotCreated)
{
    test::TempHome home;
    test::reporter().clear();
    TDM dm;
    EXPECT_FALSE(dm.OpenDatabase());
    EXPECT_EQ(test::reporter().messages.size(), 1);
    EXPECT_FALSE(QFile::exists(TDM::databasePath()));
    QByteArray doc;
    EXPECT_FALSE(dm.loadMemoData(QStringLiteral("20100601"), &doc));
    EXPECT_FALSE(dm.saveMemoData(QStringLiteral("20100601"), "x"));
}

} // namespace

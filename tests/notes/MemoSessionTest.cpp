#include "notes/MemoSession.h"
#include "NotesFixture.h"
#include "notes/MemoDocument.h"
#include "notes/uDM.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace tevuna;

namespace {

class Session : public test::NotesFixture
{
protected:
    QByteArray stored(const QString &key)
    {
        QByteArray bytes;
        EXPECT_TRUE(dm.loadMemoData(key, &bytes));
        return bytes;
    }
    static void type(QTextDocument &doc, const QString &text)
    {
        QTextCursor c(&doc);
        c.movePosition(QTextCursor::End);
        c.insertText(text);
    }
    // Another program holding the file for writing.
    sqlite3 *holdWriteLock()
    {
        sqlite3 *db = nullptr;
        sqlite3_open(TDM::databasePath().toUtf8().constData(), &db);
        EXPECT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        return db;
    }
};

TEST_F(Session, LoadingIsNotAnEditAndUndoCannotEmptyTheMemo)
{
    const QByteArray original = memodoc::encode(QTextDocument(QStringLiteral("买菜")));
    ASSERT_TRUE(dm.saveMemoData(QStringLiteral("20240101"), original));
    MemoSession session(dm);
    MemoSession::Loaded loaded = session.load(QStringLiteral("20240101"));
    ASSERT_TRUE(loaded.ok);
    EXPECT_FALSE(loaded.document->isModified());
    EXPECT_FALSE(loaded.document->isUndoAvailable());
    loaded.document->undo();
    EXPECT_EQ(loaded.document->toPlainText(), QStringLiteral("买菜"));
    // Saves that find nothing changed write nothing, even bytes another editor wrote.
    ASSERT_TRUE(dm.saveMemoData(QStringLiteral("20240102"), "{\\rtf1 foreign {\\b words}}"));
    MemoSession::Loaded foreign = session.load(QStringLiteral("20240102"));
    session.save(*foreign.document);
    EXPECT_EQ(stored(QStringLiteral("20240102")), QByteArray("{\\rtf1 foreign {\\b words}}"));
    EXPECT_EQ(stored(QStringLiteral("20240101")), original);
}

TEST_F(Session, AMemoChangedElsewhereIsKeptBesideOurs)
{
    MemoSession first(dm);
    MemoSession::Loaded a = first.load(QStringLiteral("20240105"));
    TDM other;
    ASSERT_TRUE(other.OpenDatabase());
    MemoSession second(other);
    MemoSession::Loaded b = second.load(QStringLiteral("20240105"));
    type(*b.document, QStringLiteral("另一个窗口"));
    EXPECT_EQ(second.save(*b.document), nullptr);

    type(*a.document, QStringLiteral("这个窗口"));
    std::unique_ptr<QTextDocument> merged = first.save(*a.document);
    ASSERT_NE(merged, nullptr);
    const QString text = merged->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("另一个窗口\n"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n这个窗口"))) << text.toStdString();
    QTextDocument back;
    memodoc::decode(stored(QStringLiteral("20240105")), &back);
    EXPECT_EQ(back.toPlainText(), text);
    EXPECT_EQ(test::reporter().notices.size(), 1);
}

TEST_F(Session, ABusyDatabaseKeepsTheMemoPendingWithoutAWaitAndItIsSavedLater)
{
    MemoSession session(dm);
    MemoSession::Loaded days[3];
    for (int i = 0; i < 3; ++i) {
        days[i] = session.load(QStringLiteral("2024020%1").arg(i + 1));
        type(*days[i].document, QStringLiteral("第%1天").arg(i + 1));
        if (i < 2)
            session.save(*days[i].document);
    }
    ASSERT_FALSE(session.hasUnsaved());
    sqlite3 *lock = holdWriteLock();
    type(*days[2].document, QStringLiteral("，改"));
    QElapsedTimer clock;
    clock.start();
    session.save(*days[2].document);
    session.save(*days[2].document);
    EXPECT_LT(clock.elapsed(), 1000) << "two saves against a held lock";
    EXPECT_TRUE(session.hasUnsaved());
    EXPECT_EQ(test::reporter().notices.size(), 1) << "told once";
    EXPECT_TRUE(test::reporter().notices.value(0).contains(QStringLiteral("占用")));

    // The user moves on; the timer saves it once the other program lets go.
    session.load(QStringLiteral("20240210"));
    sqlite3_exec(lock, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(lock);
    session.retryPending();
    EXPECT_FALSE(session.hasUnsaved());
    QTextDocument back;
    memodoc::decode(stored(QStringLiteral("20240203")), &back);
    EXPECT_EQ(back.toPlainText(), QStringLiteral("第3天，改"));
}

} // namespace

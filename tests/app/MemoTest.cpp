#include "app/Application.h"
#include "app/uMain.h"
#include "base/Clock.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoBox.h"
#include "notes/MemoDocument.h"
#include "notes/uDM.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace tevuna;

namespace {

class Memo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::reporter().clear();
        Clock::install(&clock);
        home.writeFile(QStringLiteral("Data/FormSize.ini"), "1\r\n750\r\n500\r\n0\r\n0\r\n");
        app = std::make_unique<Application>();
        ASSERT_TRUE(app->start());
        w = app->mainForm();
        w->show();
        QApplication::setActiveWindow(w);
    }
    void TearDown() override { Clock::install(nullptr); }

    // The text stored for a date, as the memo box would show it; "<none>" without a row.
    QString stored(const char *key)
    {
        QByteArray bytes;
        if (!app->dataModule()->loadMemoData(QString::fromLatin1(key), &bytes))
            return QStringLiteral("<error>");
        QTextDocument doc;
        memodoc::decode(bytes, &doc);
        return bytes.isNull() ? QStringLiteral("<none>") : doc.toPlainText();
    }
    // Runs SQL on the notes file from outside, as another program or a damaged disk would.
    void sql(const char *statement)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(TDM::databasePath().toUtf8().constData(), &db);
        ASSERT_EQ(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK) << statement;
        sqlite3_close(db);
    }
    void type(const QString &text)
    {
        w->rdtAbc->setFocus();
        QTextCursor c = w->rdtAbc->textCursor();
        c.movePosition(QTextCursor::End);
        w->rdtAbc->setTextCursor(c);
        w->rdtAbc->insertAtCaret(text);
    }
    void moveTo(QDate date) { w->ChnCalendar1->setDateTime(QDateTime(date, QTime(10, 0))); }

    test::TempHome home;
    FixedClock clock{QDateTime(QDate(2010, 6, 1), QTime(9, 0))};
    std::unique_ptr<Application> app;
    TMainFrm *w = nullptr;
};

TEST_F(Memo, ADateChangeThatLeavesTheFocusInTheBoxKeepsWhatWasTyped)
{
    type(QStringLiteral("六一 带孩子去公园"));
    ASSERT_TRUE(w->rdtAbc->hasFocus());
    moveTo(QDate(2010, 6, 2)); // the keyboard, a menu or the today link: the focus stays
    EXPECT_EQ(stored("20100601"), QStringLiteral("六一 带孩子去公园"));
    EXPECT_EQ(w->rdtAbc->toPlainText(), QString());
    moveTo(QDate(2010, 6, 1));
    EXPECT_EQ(w->rdtAbc->toPlainText(), QStringLiteral("六一 带孩子去公园"));
    // Visiting a day without typing writes nothing for it.
    EXPECT_EQ(stored("20100602"), QStringLiteral("<none>"));
}

TEST_F(Memo, TextStillBeingComposedIsSavedToo)
{
    w->rdtAbc->setFocus();
    QInputMethodEvent composing(QStringLiteral("会议"), {});
    QApplication::sendEvent(w->rdtAbc, &composing);
    w->SaveMemo();
    EXPECT_EQ(stored("20100601"), QStringLiteral("会议"));
}

// The timer saves what is committed and leaves the composition to the input method.
TEST_F(Memo, TheTimerLeavesACompositionInProgressAlone)
{
    ASSERT_NE(w->memoSchemeIndex(), 0);
    type(QStringLiteral("开会"));
    QInputMethodEvent composing(QStringLiteral("zhong"), {});
    QApplication::sendEvent(w->rdtAbc, &composing);
    w->tmrAutoSaveTimer();
    EXPECT_EQ(stored("20100601"), QStringLiteral("开会"));
    EXPECT_TRUE(w->rdtAbc->isComposing());
    QInputMethodEvent chosen;
    chosen.setCommitString(QStringLiteral("中"));
    QApplication::sendEvent(w->rdtAbc, &chosen);
    moveTo(QDate(2010, 6, 2));
    EXPECT_EQ(stored("20100601"), QStringLiteral("开会中"));
}

TEST_F(Memo, AMemoThatFailedToLoadIsNeitherShownFromAnotherDayNorOverwritten)
{
    ASSERT_TRUE(app->dataModule()->saveMemoData(
        QStringLiteral("20100603"), memodoc::encode(QTextDocument(QStringLiteral("原来的")))));
    type(QStringLiteral("today"));
    w->SaveMemo();
    sql("ALTER TABLE UserCon RENAME TO Away");
    moveTo(QDate(2010, 6, 3));
    EXPECT_EQ(test::reporter().messages, QStringList{QStringLiteral("加载记事内容失败！")});
    EXPECT_FALSE(w->contentLoaded());
    EXPECT_EQ(w->rdtAbc->toPlainText(), QString()) << "not the 1st's memo under the 3rd";
    sql("ALTER TABLE Away RENAME TO UserCon");

    // Leaving the box and the timer write nothing over the memo that did not load.
    w->SaveMemo();
    w->tmrAutoSaveTimer();
    EXPECT_EQ(stored("20100603"), QStringLiteral("原来的"));
    EXPECT_EQ(stored("20100601"), QStringLiteral("today"));

    // What the user types then is kept beside the stored memo, never in its place.
    type(QStringLiteral("改过"));
    w->SaveMemo();
    const QString both = stored("20100603");
    EXPECT_TRUE(both.startsWith(QStringLiteral("原来的\n"))) << both.toStdString();
    EXPECT_TRUE(both.endsWith(QStringLiteral("\n改过"))) << both.toStdString();
    EXPECT_EQ(w->rdtAbc->toPlainText(), both);
    EXPECT_EQ(test::reporter().notices.size(), 1);
}

TEST_F(Memo, AFailedSaveKeepsTheTextRetriesAndSaysSoOnce)
{
    sql("ALTER TABLE UserCon RENAME TO Away");
    type(QStringLiteral("别忘了"));
    w->SaveMemo();
    w->tmrAutoSaveTimer();
    EXPECT_EQ(test::reporter().notices.size(), 1);
    EXPECT_TRUE(test::reporter().messages.isEmpty()) << "no modal box for a failed save";
    EXPECT_EQ(w->rdtAbc->toPlainText(), QStringLiteral("别忘了"));

    // Another day is visited meanwhile: the unsaved memo comes back with its date.
    moveTo(QDate(2010, 6, 4));
    test::reporter().clear();
    sql("ALTER TABLE Away RENAME TO UserCon");
    moveTo(QDate(2010, 6, 1));
    EXPECT_EQ(w->rdtAbc->toPlainText(), QStringLiteral("别忘了"));
    w->tmrAutoSaveTimer();
    EXPECT_EQ(stored("20100601"), QStringLiteral("别忘了"));
    EXPECT_TRUE(test::reporter().notices.isEmpty());
}

TEST_F(Memo, TheCloseImageDoesNotEndWhileAMemoIsUnsaved)
{
    sql("ALTER TABLE UserCon RENAME TO Away");
    type(QStringLiteral("重要"));
    w->img_close_highlightClick();
    EXPECT_EQ(test::reporter().messages.size(), 1);
    EXPECT_EQ(home.readFile(QStringLiteral("Data/FormSize.ini")),
              QByteArray("1\r\n750\r\n500\r\n0\r\n0\r\n"));
    sql("ALTER TABLE Away RENAME TO UserCon");
    w->img_close_highlightClick();
    EXPECT_EQ(stored("20100601"), QStringLiteral("重要"));
}

TEST_F(Memo, InsertionAidsWriteAtTheCaretWithOrWithoutTheFocus)
{
    w->rdtAbc->setPlainText(QStringLiteral("ab"));
    QTextCursor c = w->rdtAbc->textCursor();
    c.setPosition(1);
    w->rdtAbc->setTextCursor(c);
    w->ChnCalendar1->setFocus();
    w->btnGou->click();
    w->rdtAbc->V1->trigger();
    w->btnX->click();
    w->rdtAbc->X1->trigger();
    w->imgDateClick();
    EXPECT_EQ(w->rdtAbc->toPlainText(), QStringLiteral("a√√×× 2010.06.01 (二)b"));
    EXPECT_EQ(MemoBox::dateStamp(QDate(2013, 1, 6)), QStringLiteral(" 2013.01.06 (日)"));
}

TEST_F(Memo, TheColourAidActsOnlyWithTheFocusAndStartsFromTheLastColour)
{
    QList<QColor> offered;
    QColor answer = QColor(255, 0, 0);
    w->chooseColor = [&](const QColor &initial) {
        offered << initial;
        return answer;
    };
    w->rdtAbc->setPlainText(QStringLiteral("红色"));
    w->rdtAbc->selectAll();
    w->ChnCalendar1->setFocus();
    w->imgRedColorClick();
    EXPECT_TRUE(offered.isEmpty()) << "the memo box had no focus";
    w->rdtAbc->setFocus();
    w->imgRedColorClick();
    answer = QColor();
    w->imgRedColorClick(); // cancelled
    EXPECT_EQ(offered, (QList<QColor>{Qt::black, QColor(255, 0, 0)}));
    QTextCursor c = w->rdtAbc->textCursor();
    c.setPosition(1);
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(255, 0, 0));
}

// Qt lays a paragraph out whole: a very long one wraps anywhere (linear), and typing or
// pasting never grows one past the limit; a stored one is shown whole all the same.
TEST_F(Memo, VeryLongParagraphsAreShownWholeAndGrowNoFurther)
{
    const QString longRun(MemoBox::kMaxParagraphChars + 50000, QLatin1Char('a'));
    QTextDocument stored;
    stored.setPlainText(longRun);
    ASSERT_TRUE(
        app->dataModule()->saveMemoData(QStringLiteral("20100603"), memodoc::encode(stored)));
    moveTo(QDate(2010, 6, 3));
    MemoBox *box = w->rdtAbc;
    EXPECT_EQ(box->toPlainText(), longRun);
    EXPECT_EQ(box->wordWrapMode(), QTextOption::WrapAnywhere);

    box->setFocus();
    box->moveCursor(QTextCursor::End);
    QTest::keyClick(box, Qt::Key_B);
    EXPECT_EQ(box->toPlainText(), longRun);
    EXPECT_FALSE(box->document()->isModified());
    ASSERT_EQ(test::reporter().notices.size(), 1);
    EXPECT_TRUE(test::reporter().notices[0].contains(QStringLiteral("十万字")));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_B);
    EXPECT_EQ(box->toPlainText(), longRun + QStringLiteral("\nb"));

    moveTo(QDate(2010, 6, 4));
    EXPECT_EQ(box->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    test::reporter().clear();
    box->setFocus();
    QApplication::clipboard()->setText(longRun);
    box->paste();
    EXPECT_TRUE(box->toPlainText().isEmpty());
    EXPECT_EQ(test::reporter().notices.size(), 1);
    QApplication::clipboard()->setText(QString(50000, QLatin1Char('c')) + QStringLiteral("\nd"));
    box->paste();
    EXPECT_EQ(box->toPlainText().size(), 50002);
    EXPECT_EQ(box->wordWrapMode(), QTextOption::WrapAnywhere);
}

TEST_F(Memo, EditMenuItemsInOrder)
{
    QStringList items;
    for (QAction *a : w->rdtAbc->pmDeskTopMonCal->actions())
        items << (a->isSeparator() ? a->objectName() + QStringLiteral(":-")
                                   : a->objectName() + QLatin1Char(':') + a->text());
    EXPECT_EQ(items, (QStringList{"N1:复制", "N2:粘贴", "N9:删除", "N3:剪切", "N6:-", "V1:打V",
                                  "X1:打X", "N5:-", "CtrlZ1:撤销(Ctrl+Z)"}));
    w->rdtAbc->setPlainText(QStringLiteral("删掉我"));
    w->rdtAbc->selectAll();
    w->rdtAbc->N9->trigger();
    EXPECT_EQ(w->rdtAbc->toPlainText(), QString());
    w->rdtAbc->CtrlZ1->trigger();
    EXPECT_EQ(w->rdtAbc->toPlainText(), QStringLiteral("删掉我"));
}

} // namespace

#include "support/TestSupport.h"
#include "wallpaper/uGlobal.h"
#include "wallpaper/uInfoFrm.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

class Confirmation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(home.path(QStringLiteral("Data")));
        WallpaperGlobals &g = wallpaperGlobals();
        g.askFlag = true;
        g.answer = 0;
        ReadSetting();
        frm.show();
    }
    QByteArray setting() { return home.readFile(QStringLiteral("Data/configSetBg.ini")); }

    test::TempHome home;
    TInforFrm frm;
};

TEST_F(Confirmation, OkWithTheBoxTickedStopsAskingForGood)
{
    EXPECT_EQ(setting(), QByteArray("1\r\n"));
    frm.chkSetBgInfo->setChecked(true);
    frm.btnok->click();
    EXPECT_EQ(wallpaperGlobals().answer, 1);
    EXPECT_FALSE(wallpaperGlobals().askFlag);
    EXPECT_EQ(setting(), QByteArray("0\r\n"));
    EXPECT_FALSE(frm.isVisible());
    // The next start reads it.
    wallpaperGlobals().askFlag = true;
    ReadSetting();
    EXPECT_FALSE(wallpaperGlobals().askFlag);
}

TEST_F(Confirmation, OkWithoutTheBoxGoesOnAndAsksAgain)
{
    frm.btnok->click();
    EXPECT_EQ(wallpaperGlobals().answer, 1);
    EXPECT_TRUE(wallpaperGlobals().askFlag);
    EXPECT_EQ(setting(), QByteArray("1\r\n"));
}

TEST_F(Confirmation, CancelAndCloseAnswerNoAndWriteNothing)
{
    for (QPushButton *b : {frm.btncancel, frm.btnClose}) {
        wallpaperGlobals().answer = 1;
        frm.show();
        frm.chkSetBgInfo->setChecked(true);
        b->click();
        EXPECT_EQ(wallpaperGlobals().answer, 0);
        EXPECT_TRUE(wallpaperGlobals().askFlag);
        EXPECT_EQ(setting(), QByteArray("1\r\n"));
        EXPECT_TRUE(frm.chkSetBgInfo->isChecked()) << "the tick stays for the next time";
    }
}

// As the keyboard answers the open window: Esc is no, whatever was answered before; Enter
// is the default button, yes.
TEST_F(Confirmation, EscMeansNoAndEnterMeansYesEachTimeItAsks)
{
    frm.btnok->click();
    ASSERT_EQ(wallpaperGlobals().answer, 1);
    const auto press = [this](Qt::Key key) {
        QTimer::singleShot(0, &frm, [this, key] {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &frm, key);
        });
        frm.Ask();
        EXPECT_FALSE(frm.isVisible());
        return wallpaperGlobals().answer;
    };
    EXPECT_EQ(press(Qt::Key_Escape), 0);
    EXPECT_EQ(press(Qt::Key_Return), 1);
    EXPECT_EQ(press(Qt::Key_Escape), 0);
    EXPECT_EQ(setting(), QByteArray("1\r\n"));
}

TEST_F(Confirmation, LayoutAndTabOrder)
{
    EXPECT_EQ(frm.size(), QSize(344, 156));
    EXPECT_EQ(frm.btnok->geometry(), QRect(176, 120, 73, 21));
    EXPECT_EQ(frm.btncancel->text(), QStringLiteral("取  消"));
    // Tab walks the buttons first, then the check box.
    QApplication::setActiveWindow(&frm);
    frm.btnok->setFocus();
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{"btnok", "btncancel", "btnClose", "chkSetBgInfo"}));
}

} // namespace

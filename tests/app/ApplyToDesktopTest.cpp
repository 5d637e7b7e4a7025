#include "app/Application.h"
#include "app/uMain.h"
#include "base/Clock.h"
#include "base/LineFile.h"
#include "notes/MemoBox.h"
#include "support/TestSupport.h"
#include "wallpaper/Picture.h"
#include "wallpaper/desktop/DesktopWallpaper.h"
#include "wallpaper/uGlobal.h"
#include "wallpaper/uInfoFrm.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

// Records the pictures it is asked to show instead of changing this machine's desktop.
class FakeDesktop : public DesktopWallpaper
{
public:
    explicit FakeDesktop(QStringList *shown, bool works = true) : m_shown(shown), m_works(works) {}
    bool set(const QString &path, QString *error) override
    {
        if (!m_works) {
            *error = QStringLiteral("桌面拒绝了");
            return false;
        }
        *m_shown << path;
        return true;
    }
    bool needsFreshPath() const override { return false; }

private:
    QStringList *m_shown;
    bool m_works;
};

// Each background is one plain colour, so the composite tells which one was used.
const QHash<QString, QColor> kColors{{"A1.bmp", QColor(10, 10, 10)},
                                     {"P1.bmp", QColor(200, 0, 0)},
                                     {"P2.bmp", QColor(0, 200, 0)},
                                     {"P3.bmp", QColor(0, 0, 200)}};

class ApplyToDesktop : public ::testing::Test
{
protected:
    // Starts with the wallpaper prompt off unless asked, and the given list file.
    void start(const QStringList &list, bool ask = false, QSize pictureSize = QSize(1024, 768))
    {
        test::reporter().clear();
        home.writeFile(QStringLiteral("Data/configSetBg.ini"), ask ? "1\r\n" : "0\r\n");
        for (auto it = kColors.begin(); it != kColors.end(); ++it) {
            QImage image(pictureSize, QImage::Format_RGB888);
            image.fill(it.value());
            QDir().mkpath(home.path(QStringLiteral("source/DeskTopBG")));
            writeBmp(image, home.path(QStringLiteral("source/DeskTopBG/") + it.key()));
        }
        if (!list.isEmpty())
            linefile::write(home.path(QStringLiteral("Data/BGPicList.ini")), list);
        app = std::make_unique<Application>();
        ASSERT_TRUE(app->start());
        app->setDesktop(std::make_unique<FakeDesktop>(&shown));
        w = app->mainForm();
        w->show();
    }
    QColor usedBackground()
    {
        return QColor(
            readPicture(home.path(QStringLiteral("source/DeskTopBG/Mix.bmp"))).pixel(0, 0));
    }
    // Applies once and names the background that ended up in Mix.bmp.
    QString applyOnce()
    {
        QFile::remove(home.path(QStringLiteral("source/DeskTopBG/Mix.bmp")));
        w->imgAppToDeskClick();
        if (!QFile::exists(home.path(QStringLiteral("source/DeskTopBG/Mix.bmp"))))
            return QStringLiteral("-");
        return kColors.key(usedBackground(), QStringLiteral("?"));
    }

    test::TempHome home;
    FixedClock clock{QDateTime(QDate(2020, 8, 3), QTime(9, 0))};
    std::unique_ptr<Application> app;
    TMainFrm *w = nullptr;
    QStringList shown;
};

TEST_F(ApplyToDesktop, TheDefaultListAlwaysUsesA1AndReturnsToIndexOne)
{
    start({});
    EXPECT_EQ(w->picIndex(), 0) << "the list file was just created";
    EXPECT_EQ(applyOnce(), QStringLiteral("A1.bmp"));
    EXPECT_EQ(w->picIndex(), 1);
    EXPECT_EQ(applyOnce(), QStringLiteral("A1.bmp"));
    EXPECT_EQ(w->picIndex(), 1);
    EXPECT_EQ(shown.size(), 2);
    EXPECT_TRUE(test::reporter().messages.isEmpty());
}

TEST_F(ApplyToDesktop, RotatesDownwardsThroughTheList)
{
    start({"A1.bmp", "P1.bmp", "P2.bmp", "P3.bmp"});
    QStringList used;
    for (int k = 0; k < 5; ++k)
        used << applyOnce();
    EXPECT_EQ(used, (QStringList{"P3.bmp", "P2.bmp", "P1.bmp", "P3.bmp", "P2.bmp"}));
}

TEST_F(ApplyToDesktop, AMissingPictureMovesTheIndexUpAndConsumesTheClick)
{
    start({"A1.bmp", "P1.bmp", "P2.bmp", "P3.bmp"});
    QFile::remove(home.path(QStringLiteral("source/DeskTopBG/P3.bmp")));
    ASSERT_EQ(w->picIndex(), 3);
    EXPECT_EQ(applyOnce(), QStringLiteral("-"));
    EXPECT_EQ(w->picIndex(), 1);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(QFile::exists(home.path(QStringLiteral("source/DeskTopBG/Content.bmp"))));
    EXPECT_EQ(applyOnce(), QStringLiteral("P1.bmp"));
    EXPECT_EQ(w->picIndex(), 3);
    EXPECT_TRUE(test::reporter().messages.isEmpty());
}

// One picture that cannot be read costs one click, named in the message; the rotation goes
// on past it, and comes back to it (it may have been mended meanwhile).
TEST_F(ApplyToDesktop, AnUnreadablePictureIsSteppedPast)
{
    start({"A1.bmp", "P1.bmp", "P2.bmp", "P3.bmp"});
    home.writeFile(QStringLiteral("source/DeskTopBG/P3.bmp"), "not a picture");
    EXPECT_EQ(applyOnce(), QStringLiteral("-"));
    ASSERT_EQ(test::reporter().messages.size(), 1);
    EXPECT_TRUE(test::reporter().messages[0].contains(QStringLiteral("P3.bmp")));
    QStringList used;
    for (int k = 0; k < 3; ++k)
        used << applyOnce();
    EXPECT_EQ(used, (QStringList{"P2.bmp", "P1.bmp", "-"}));
    EXPECT_EQ(shown.size(), 2);
}

TEST_F(ApplyToDesktop, TheCardCoversItsBlockAndNothingElse)
{
    start({"P1.bmp", "P1.bmp"});
    w->rdtAbc->setPlainText(QStringLiteral("开会"));
    ASSERT_EQ(applyOnce(), QStringLiteral("P1.bmp"));
    const QImage mix = readPicture(home.path(QStringLiteral("source/DeskTopBG/Mix.bmp")));
    ASSERT_EQ(mix.size(), QSize(1024, 768));
    // White card over red: 60 % white, 40 % red, rounded down.
    EXPECT_EQ(QColor(mix.pixel(742 + 5, 30 + 170)), QColor(233, 153, 153));
    EXPECT_EQ(QColor(mix.pixel(971, 449)), QColor(233, 153, 130)) << "the card's border";
    for (const QPoint p : {QPoint(741, 100), QPoint(972, 100), QPoint(800, 29), QPoint(800, 450)})
        EXPECT_EQ(QColor(mix.pixel(p)), QColor(200, 0, 0)) << p.x() << "," << p.y();
    ASSERT_EQ(shown.size(), 1);
}

TEST_F(ApplyToDesktop, CancellingTheConfirmationChangesNothing)
{
    start({"A1.bmp", "P1.bmp", "P2.bmp"}, true);
    const int index = w->picIndex();
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TInforFrm *>(QApplication::activeModalWidget());
        asked = dialog != nullptr;
        if (dialog)
            dialog->btncancel->click();
    });
    w->imgAppToDeskClick();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(QFile::exists(home.path(QStringLiteral("source/DeskTopBG/Content.bmp"))));
    EXPECT_FALSE(QFile::exists(home.path(QStringLiteral("source/DeskTopBG/Mix.bmp"))));
    EXPECT_EQ(w->picIndex(), index);
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(ApplyToDesktop, FailuresEndWithAMessageAndNoBrokenWallpaper)
{
    // A damaged background that never loaded before: nothing to compose.
    start({"A1.bmp", "A1.bmp"});
    home.writeFile(QStringLiteral("source/DeskTopBG/A1.bmp"), "not a picture");
    EXPECT_EQ(applyOnce(), QStringLiteral("-"));
    ASSERT_EQ(test::reporter().messages.size(), 1);
    EXPECT_TRUE(test::reporter().messages[0].startsWith(QStringLiteral("加载失败！")));
    EXPECT_TRUE(test::reporter().messages[0].contains(QStringLiteral("A1.bmp")));
    EXPECT_TRUE(shown.isEmpty());

    // An empty list file: the list is empty.
    app.reset();
    wallpaperGlobals().picList.clear();
    home.writeFile(QStringLiteral("Data/BGPicList.ini"), QByteArray());
    start({});
    EXPECT_EQ(applyOnce(), QStringLiteral("-"));
    ASSERT_EQ(test::reporter().messages.size(), 1);
    EXPECT_TRUE(test::reporter().messages[0].contains(QStringLiteral("选择壁纸")));

    // A desktop that refuses: Mix.bmp is still written, and the user learns where it is.
    app.reset();
    start({"P2.bmp", "P2.bmp"});
    app->setDesktop(std::make_unique<FakeDesktop>(&shown, false));
    EXPECT_EQ(applyOnce(), QStringLiteral("P2.bmp"));
    ASSERT_EQ(test::reporter().messages.size(), 1);
    EXPECT_TRUE(test::reporter().messages[0].contains(QStringLiteral("Mix.bmp")));
    EXPECT_TRUE(test::reporter().messages[0].contains(QStringLiteral("桌面拒绝了")));
}

TEST_F(ApplyToDesktop, SmallPicturesAreComposedWithinTheirBounds)
{
    start({"P3.bmp", "P3.bmp"}, false, QSize(200, 150));
    EXPECT_EQ(applyOnce(), QStringLiteral("P3.bmp"));
    EXPECT_EQ(readPicture(home.path(QStringLiteral("source/DeskTopBG/Mix.bmp"))).size(),
              QSize(200, 150));
}

} // namespace

// The copy that makes path-caching desktops show every apply, and its clean-up.
#include "wallpaper/desktop/ApplyDesktopWallpaper.h"
#include "support/TestSupport.h"
#include "wallpaper/desktop/DesktopWallpaper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

// Records what it was pointed at, and what that file held at that moment.
class RecordingBackend : public DesktopWallpaper
{
public:
    bool set(const QString &path, QString *error) override
    {
        paths << path;
        QFile file(path);
        contents << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>"));
        if (!accept)
            *error = QStringLiteral("桌面拒绝了");
        return accept;
    }
    bool needsFreshPath() const override { return fresh; }

    bool fresh = true;
    bool accept = true;
    QStringList paths;
    QList<QByteArray> contents;
};

class ApplyDesktopWallpaper : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        write(QStringLiteral("A1.bmp"), "background");
        write(QStringLiteral("Mix-photo.bmp"), "a picture of the user's");
    }
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }
    QString mix() const { return path(QStringLiteral("Mix.bmp")); }

    QTemporaryDir m_dir;
};

TEST_F(ApplyDesktopWallpaper, EachApplyShowsAFreshCopyAndOnlyTheCopyOnScreenStays)
{
    write(QStringLiteral("Mix-1600000000000.bmp"), "left by a crash");
    RecordingBackend backend;
    for (const QByteArray &composite :
         {QByteArray("first"), QByteArray("second"), QByteArray("third")}) {
        write(QStringLiteral("Mix.bmp"), composite);
        QString error;
        ASSERT_TRUE(applyDesktopWallpaper(backend, mix(), &error)) << qPrintable(error);
        const QString shown = QFileInfo(backend.paths.last()).fileName();
        EXPECT_EQ(backend.contents.last(), composite);
        EXPECT_EQ(backend.paths.count(backend.paths.last()), 1) << "a name used twice";
        EXPECT_EQ(files(),
                  (QStringList{QStringLiteral("A1.bmp"), shown, QStringLiteral("Mix-photo.bmp"),
                               QStringLiteral("Mix.bmp")}));
    }
}

TEST_F(ApplyDesktopWallpaper, ARefusalRemovesTheNewCopyAndKeepsTheOneOnScreen)
{
    write(QStringLiteral("Mix.bmp"), "first");
    RecordingBackend backend;
    QString error;
    ASSERT_TRUE(applyDesktopWallpaper(backend, mix(), &error)) << qPrintable(error);
    const QString shown = QFileInfo(backend.paths.last()).fileName();

    write(QStringLiteral("Mix.bmp"), "second");
    backend.accept = false;
    EXPECT_FALSE(applyDesktopWallpaper(backend, mix(), &error));
    EXPECT_EQ(error, QStringLiteral("桌面拒绝了"));
    EXPECT_EQ(backend.contents.last(), QByteArray("second"));
    EXPECT_NE(QFileInfo(backend.paths.last()).fileName(), shown);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("A1.bmp"), shown,
                                    QStringLiteral("Mix-photo.bmp"), QStringLiteral("Mix.bmp")}));
}

TEST_F(ApplyDesktopWallpaper, ADesktopThatReadsTheFileAgainGetsMixItself)
{
    write(QStringLiteral("Mix.bmp"), "first");
    RecordingBackend backend;
    backend.fresh = false;
    QString error;
    ASSERT_TRUE(applyDesktopWallpaper(backend, mix(), &error)) << qPrintable(error);
    EXPECT_EQ(backend.paths, QStringList{mix()});
    EXPECT_EQ(files(), (QStringList{QStringLiteral("A1.bmp"), QStringLiteral("Mix-photo.bmp"),
                                    QStringLiteral("Mix.bmp")}));
}

TEST_F(ApplyDesktopWallpaper, WithoutMixNothingIsAsked)
{
    RecordingBackend backend;
    QString error;
    EXPECT_FALSE(applyDesktopWallpaper(backend, mix(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("找不到壁纸图片"))) << qPrintable(error);
    EXPECT_TRUE(backend.paths.isEmpty());
}

} // namespace

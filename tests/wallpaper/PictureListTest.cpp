#include "base/LineFile.h"
#include "support/TestSupport.h"
#include "wallpaper/Picture.h"
#include "wallpaper/uGlobal.h"
#include "wallpaper/uPicSel.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

QStringList names()
{
    QStringList out;
    for (const TPicBGList &e : wallpaperGlobals().picList)
        out << e.fileName;
    return out;
}

struct ListCase {
    const char *name;
    QStringList lines;
    bool reselect;
    int index;
};

class LoadListCases : public ::testing::TestWithParam<ListCase>
{};

TEST_P(LoadListCases, SetCurrentNameAndIndex)
{
    test::TempHome home;
    QDir().mkpath(home.path(QStringLiteral("Data")));
    linefile::write(picListPath(), GetParam().lines);
    QString current;
    int index = -7;
    LoadList(GetParam().reselect, current, index);
    EXPECT_EQ(current, GetParam().lines.first());
    EXPECT_EQ(index, GetParam().index);
    EXPECT_EQ(names(), GetParam().lines);
    EXPECT_EQ(wallpaperGlobals().picCount, GetParam().lines.size());
    for (int k = 0; k < wallpaperGlobals().picCount; ++k)
        EXPECT_EQ(wallpaperGlobals().picList[k].position, k);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadListCases,
    ::testing::Values(
        ListCase{"default", {"A1.bmp", "A1.bmp"}, false, 1},
        ListCase{"four_pictures", {"A1.bmp", "A1.bmp", "P1.bmp", "P2.bmp", "P3.bmp"}, false, 4},
        ListCase{"reselect_last_naming_line", {"P2.bmp", "A1.bmp", "P2.bmp", "P1.bmp"}, true, 2},
        ListCase{"reselect_only_first_line", {"P9.bmp", "A1.bmp", "P1.bmp"}, true, 0}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(LoadList, AMissingFileIsWrittenWithTheDefaultAndAnEmptyOneChangesNothing)
{
    test::TempHome home;
    QDir().mkpath(home.path(QStringLiteral("Data")));
    QString current;
    int index = 5;
    LoadList(false, current, index);
    EXPECT_EQ(home.readFile(QStringLiteral("Data/BGPicList.ini")),
              QByteArray("A1.bmp\r\nA1.bmp\r\n"));
    EXPECT_EQ(current, QStringLiteral("A1.bmp"));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(names(), (QStringList{"A1.bmp", "A1.bmp"}));

    home.writeFile(QStringLiteral("Data/BGPicList.ini"), QByteArray());
    LoadList(true, current, index);
    EXPECT_EQ(wallpaperGlobals().picCount, 0);
    EXPECT_EQ(names(), (QStringList{"A1.bmp", "A1.bmp"})) << "the entries stay";
    EXPECT_EQ(current, QStringLiteral("A1.bmp"));
    EXPECT_EQ(index, 0);
}

// A picture file of `size` in `format`, written under `name` in a folder outside the app.
QString writePicture(const QTemporaryDir &dir, const QString &name, const char *format,
                     QSize size = QSize(64, 48))
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(QColor(30, 120, 200));
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path, format));
    return path;
}

class PictureSelection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::reporter().clear();
        QDir().mkpath(home.path(QStringLiteral("Data")));
        QDir().mkpath(home.path(QStringLiteral("source/DeskTopBG")));
        frm.chooseFile = [this] { return chosen; };
    }
    QStringList listFile() { return linefile::split(home.readFile("Data/BGPicList.ini")); }
    void select(const QString &caption)
    {
        const auto items = frm.LVpic->findItems(caption, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty());
        frm.LVpic->setCurrentItem(items.last());
    }

    test::TempHome home;
    QTemporaryDir outside;
    TPicSelFrm frm;
    QString chosen;
};

TEST_F(PictureSelection, FirstShowWritesTheDefaultListAndShowsA1)
{
    frm.show();
    EXPECT_EQ(frm.itemCaptions(), QStringList{QStringLiteral("A1.bmp")});
    EXPECT_EQ(frm.selectedPicName, QStringLiteral("A1.bmp"));
    EXPECT_EQ(listFile(), (QStringList{"A1.bmp", "A1.bmp"}));
}

TEST_F(PictureSelection, AddingAJpegKeepsItBesideItsBmpAndListsTheBmp)
{
    frm.show();
    chosen = writePicture(outside, QStringLiteral("照片 photo.jpg"), "JPEG");
    frm.btnAddClick();
    EXPECT_TRUE(test::reporter().messages.isEmpty())
        << test::reporter().messages.join(';').toStdString();
    EXPECT_TRUE(QFile::exists(home.path(QStringLiteral("source/DeskTopBG/照片 photo.jpg"))));
    const QImage bmp = readPicture(home.path(QStringLiteral("source/DeskTopBG/照片 photo.bmp")));
    EXPECT_EQ(bmp.size(), QSize(64, 48));
    EXPECT_EQ(listFile(), (QStringList{"A1.bmp", "A1.bmp", "照片 photo.bmp"}));

    // The same name again: a fresh name, the first picture as it was.
    chosen = writePicture(outside, QStringLiteral("照片 photo.jpg"), "JPEG", QSize(80, 60));
    frm.btnAddClick();
    EXPECT_EQ(frm.itemCaptions(), (QStringList{"A1.bmp", "照片 photo.bmp", "照片 photo(2).bmp"}));
    EXPECT_EQ(readPicture(home.path(QStringLiteral("source/DeskTopBG/照片 photo.bmp"))).size(),
              QSize(64, 48));
    EXPECT_EQ(readPicture(home.path(QStringLiteral("source/DeskTopBG/照片 photo(2).bmp"))).size(),
              QSize(80, 60));
    EXPECT_TRUE(QFile::exists(home.path(QStringLiteral("source/DeskTopBG/照片 photo(2).jpg"))));
    // A BMP named like the listed A1.bmp goes in beside it.
    home.writeFile(QStringLiteral("source/DeskTopBG/A1.bmp"), QByteArray());
    writePicture(outside, QStringLiteral("A1.jpg"), "JPEG");
    QFile::rename(outside.filePath(QStringLiteral("A1.jpg")),
                  outside.filePath(QStringLiteral("A1.bmp")));
    chosen = outside.filePath(QStringLiteral("A1.bmp"));
    frm.btnAddClick();
    EXPECT_EQ(frm.itemCaptions().last(), QStringLiteral("A1(2).bmp"));
    EXPECT_EQ(home.readFile(QStringLiteral("source/DeskTopBG/A1.bmp")), QByteArray());
}

struct BadPicture {
    const char *name;
    const char *fileName;
    QByteArray bytes;
    const char *message;
};

class AddingABadPicture : public PictureSelection, public ::testing::WithParamInterface<BadPicture>
{};

// Refused whole: the list and the picture folder exactly as they were, the listed picture of
// the same name included.
TEST_P(AddingABadPicture, IsRefusedAndNothingIsAdded)
{
    const QByteArray listed("a listed picture");
    home.writeFile(QStringLiteral("source/DeskTopBG/") + QString::fromUtf8(GetParam().fileName),
                   listed);
    frm.show();
    const QStringList before = listFile();
    const QDir folder(pictureFolder());
    const QStringList files = folder.entryList(QDir::Files);
    QFile f(outside.filePath(QString::fromUtf8(GetParam().fileName)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(GetParam().bytes);
    f.close();
    chosen = f.fileName();
    frm.btnAddClick();
    ASSERT_EQ(test::reporter().messages.size(), 1);
    EXPECT_TRUE(test::reporter().messages[0].startsWith(QString::fromUtf8(GetParam().message)))
        << test::reporter().messages[0].toStdString();
    EXPECT_EQ(frm.itemCaptions(), QStringList{QStringLiteral("A1.bmp")});
    EXPECT_EQ(listFile(), before);
    EXPECT_EQ(folder.entryList(QDir::Files), files);
    EXPECT_EQ(
        home.readFile(QStringLiteral("source/DeskTopBG/") + QString::fromUtf8(GetParam().fileName)),
        listed);
}

// A real JPEG with its second half missing: libjpeg would show the rest grey.
QByteArray truncatedJpeg()
{
    QImage image(200, 150, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x, y, (x * y) & 0xff));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes.left(bytes.size() / 2);
}

QByteArray hugeBmpHeader()
{
    // A valid header declaring 30000 x 30000 pixels of 24 bits, and no pixels.
    QByteArray b(54, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char((v >> (8 * i)) & 0xff);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, 30000);
    put32(22, 30000);
    b[26] = 1;
    b[28] = 24;
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Files, AddingABadPicture,
    ::testing::Values(BadPicture{"damaged_jpeg", "broken.jpg",
                                 QByteArray("\xFF\xD8\xFF\xE0garbage", 11), "添加失败，请重试！"},
                      BadPicture{"truncated_jpeg", "cut.jpg", truncatedJpeg(),
                                 "添加失败，请重试！"},
                      BadPicture{"empty_gif", "empty.gif", QByteArray(), "添加失败，请重试！"},
                      BadPicture{"broken_file_named_like_a_listed_one", "A1.bmp",
                                 QByteArray("hello"), "添加背景图片异常，请重试！"},
                      BadPicture{"huge_bmp", "huge.bmp", hugeBmpHeader(), "图片太大，不能作为壁纸"},
                      BadPicture{"other_extension", "picture.png", QByteArray("\x89PNG", 4),
                                 "添加背景图片异常，请重试！"}),
    [](const auto &p) { return std::string(p.param.name); });

TEST_F(PictureSelection, RemoveAndOkRewriteTheListAsTheyShould)
{
    linefile::write(picListPath(), {"P1.bmp", "A1.bmp", "P1.bmp", "P2.bmp"});
    frm.show();
    EXPECT_EQ(frm.selectedPicName, QStringLiteral("P1.bmp"));

    // Removing the current picture makes A1.bmp current.
    select(QStringLiteral("P1.bmp"));
    frm.btnRemoveClick();
    EXPECT_EQ(listFile(), (QStringList{"A1.bmp", "A1.bmp", "P2.bmp"}));
    // A1.bmp is never removed, but the list is still written.
    QFile::remove(picListPath());
    select(QStringLiteral("A1.bmp"));
    frm.btnRemoveClick();
    EXPECT_EQ(listFile(), (QStringList{"A1.bmp", "A1.bmp", "P2.bmp"}));

    // OK with the current picture writes nothing; picking another makes it line 1.
    QFile::remove(picListPath());
    select(QStringLiteral("A1.bmp"));
    frm.btnOkClick();
    EXPECT_FALSE(QFile::exists(picListPath()));
    select(QStringLiteral("P2.bmp"));
    frm.btnOkClick();
    EXPECT_EQ(listFile(), (QStringList{"P2.bmp", "A1.bmp", "P2.bmp"}));
    EXPECT_FALSE(frm.isVisible());
}

TEST(Pictures, AreDecodedByContentWithinBounds)
{
    QBuffer huge;
    huge.setData(hugeBmpHeader());
    huge.open(QIODevice::ReadOnly);
    EXPECT_TRUE(readPicture(&huge).isNull());

    QTemporaryDir dir;
    // A JPEG named .bmp still loads; a zero-byte file does not.
    const QString jpeg = writePicture(dir, QStringLiteral("a.jpg"), "JPEG");
    QFile::rename(jpeg, dir.filePath(QStringLiteral("a.bmp")));
    EXPECT_EQ(readPicture(dir.filePath(QStringLiteral("a.bmp"))).size(), QSize(64, 48));
    QFile(dir.filePath(QStringLiteral("zero.bmp"))).open(QIODevice::WriteOnly);
    EXPECT_TRUE(readPicture(dir.filePath(QStringLiteral("zero.bmp"))).isNull());
    EXPECT_TRUE(readPicture(dir.filePath(QStringLiteral("missing.bmp"))).isNull());
}

} // namespace

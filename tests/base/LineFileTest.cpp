#include "base/LineFile.h"
#include "base/AppError.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

TEST(LineFile, WritesGbkWithCrLfAfterEveryLine)
{
    // 背景 is B1 B3 BE B0 in code page 936.
    EXPECT_EQ(linefile::join({QStringLiteral("A1.bmp"), QStringLiteral("背景.bmp")}),
              QByteArray("A1.bmp\r\n\xB1\xB3\xBE\xB0.bmp\r\n"));
    EXPECT_EQ(linefile::join({}), QByteArray());
}

TEST(LineFile, SplitsAtEveryKindOfLineBreak)
{
    const QStringList abc{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    EXPECT_EQ(linefile::split("a\r\nb\r\nc\r\n"), abc);
    EXPECT_EQ(linefile::split("a\nb\rc"), abc);
    EXPECT_EQ(linefile::split(""), QStringList());
    EXPECT_EQ(linefile::split("\r\n"), QStringList{QString()});
    EXPECT_EQ(linefile::split("a\r\n\r\nb"),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
}

TEST(LineFile, RoundTripsChineseNamesAndNamesOutsideGbk)
{
    test::TempHome home;
    const QStringList lines{QStringLiteral("春节.jpg"), QStringLiteral("照片 (2).bmp"),
                            QStringLiteral("𠮷野家€.bmp"), QString(), QStringLiteral("A1.bmp")};
    const QString path = home.path(QStringLiteral("list.ini"));
    linefile::write(path, lines);
    EXPECT_EQ(linefile::read(path), lines);
}

TEST(LineFile, ReplacesTheWholeFileAndLeavesNoTemporaryFile)
{
    test::TempHome home;
    const QString path = home.path(QStringLiteral("FormSize.ini"));
    linefile::write(path, {QStringLiteral("1"), QStringLiteral("750"), QStringLiteral("500")});
    linefile::write(path, {QStringLiteral("0")});
    EXPECT_EQ(home.readFile(QStringLiteral("FormSize.ini")), QByteArray("0\r\n"));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("FormSize.ini")});
}

TEST(LineFile, FailuresRaiseThePlatformFileTexts)
{
    test::TempHome home;
    const QString missingDir = home.path(QStringLiteral("no/such/dir/x.ini"));
    try {
        linefile::write(missingDir, {QStringLiteral("1")});
        ADD_FAILURE();
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Cannot create file \"%1\". ")
                                            .arg(QDir::toNativeSeparators(missingDir))))
            << e.text().toStdString();
    }
    EXPECT_THROW(linefile::read(missingDir), AppError);
}

} // namespace

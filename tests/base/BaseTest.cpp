#include "base/AppError.h"
#include "base/AppFolder.h"
#include "base/Clock.h"
#include "base/DateText.h"
#include "base/Gbk.h"
#include "base/Reporter.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

struct IntCase {
    const char *text;
    bool valid;
    int value;
};

class StrToInt : public ::testing::TestWithParam<IntCase>
{};

TEST_P(StrToInt, ParsesDecimalIntegersOrRaisesTheConversionText)
{
    const IntCase c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    if (c.valid) {
        EXPECT_EQ(strToInt(text), c.value);
        return;
    }
    try {
        strToInt(text);
        ADD_FAILURE() << "accepted " << c.text;
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrToInt,
    ::testing::Values(IntCase{"0", true, 0}, IntCase{"-1", true, -1}, IntCase{"750", true, 750},
                      IntCase{"+5", true, 5}, IntCase{"  7", true, 7},
                      IntCase{"2147483647", true, 2147483647},
                      IntCase{"-2147483648", true, -2147483647 - 1}, IntCase{"", false, 0},
                      IntCase{"abc", false, 0}, IntCase{"-", false, 0}, IntCase{"1.5", false, 0},
                      IntCase{"5 ", false, 0}, IntCase{"2147483648", false, 0},
                      IntCase{"99999999999999999999", false, 0}, IntCase{"１２", false, 0}));

TEST(LineAt, RaisesListIndexOutOfBoundsWithTheIndex)
{
    const QStringList lines{QStringLiteral("a"), QStringLiteral("b")};
    EXPECT_EQ(lineAt(lines, 1), QStringLiteral("b"));
    try {
        lineAt(lines, 2);
        ADD_FAILURE();
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("List index out of bounds (2)"));
    }
}

TEST(ErrorReport, AppendsAFullStopOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(errorReportText(QStringLiteral("'abc' is not a valid integer value")),
              QStringLiteral("'abc' is not a valid integer value."));
    EXPECT_EQ(errorReportText(QStringLiteral("List index out of bounds (3)")),
              QStringLiteral("List index out of bounds (3)"));
    EXPECT_EQ(errorReportText(QStringLiteral("done.")), QStringLiteral("done."));
    EXPECT_EQ(errorReportText(QStringLiteral("加载失败！")), QStringLiteral("加载失败！."));
    EXPECT_EQ(errorReportText(QString()), QString());

    test::reporter().clear();
    reportError(QStringLiteral("x"));
    EXPECT_EQ(test::reporter().errors, QStringList{QStringLiteral("x.")});
}

TEST(DateText, KeysAndWeekdays)
{
    EXPECT_EQ(dateKey(QDate(2024, 3, 9)), QStringLiteral("20240309"));
    EXPECT_EQ(dateKey(QDate(1999, 12, 31)), QStringLiteral("19991231"));
    EXPECT_EQ(dateKey(QDate(1, 1, 1)), QStringLiteral("00010101"));
    EXPECT_EQ(weekdayChar(QDate(2013, 1, 5)), QStringLiteral("六"));
    EXPECT_EQ(weekdayChar(QDate(2010, 6, 1)), QStringLiteral("二"));
    EXPECT_EQ(weekdayChar(QDate(2024, 3, 10)), QStringLiteral("日"));
}

TEST(ClockTest, AnInstalledClockIsTheCurrentOne)
{
    FixedClock fixed(QDateTime(QDate(2013, 1, 5), QTime(9, 30)));
    Clock::install(&fixed);
    EXPECT_EQ(Clock::current().now(), QDateTime(QDate(2013, 1, 5), QTime(9, 30)));
    Clock::install(nullptr);
    EXPECT_LE(qAbs(Clock::current().now().secsTo(QDateTime::currentDateTime())), 5);
}

TEST(AppFolder, HomeVariableThenPortableFolderThenUserFolder)
{
    {
        test::TempHome home;
        EXPECT_EQ(appfolder::root(), QDir(home.path()).absolutePath());
        EXPECT_EQ(appfolder::path(QStringLiteral("Data/FormSize.ini")),
                  home.path(QStringLiteral("Data/FormSize.ini")));
    }
    const QByteArray saved = qgetenv("TEVUNA_HOME");
    qunsetenv("TEVUNA_HOME");
    const QDir programDir(QCoreApplication::applicationDirPath());
    programDir.rmdir(QStringLiteral("Data")); // left behind by an interrupted run
    EXPECT_EQ(appfolder::root(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    ASSERT_TRUE(programDir.mkdir(QStringLiteral("Data")));
    EXPECT_EQ(appfolder::root(), programDir.absolutePath());
    programDir.rmdir(QStringLiteral("Data"));
    if (!saved.isEmpty())
        qputenv("TEVUNA_HOME", saved);
}

// The bytes written for a character are the ones code page 936 itself has, checked against
// ICU's windows-936 table for every character of the BMP.
TEST(Gbk, TwoBytesOnlyWhereCodePage936HasTheCharacter)
{
    if (!QStringEncoder("windows-936").isValid())
        GTEST_SKIP() << "no windows-936 table to compare with";
    gbk::Encoder encoder;
    int written = 0;
    for (char32_t u = 0x80; u < 0x10000; ++u) {
        if (u >= 0xD800 && u < 0xE000)
            continue;
        const QString one{QChar(char16_t(u))};
        QStringEncoder reference("windows-936");
        QByteArray expected = reference.encode(one);
        if (reference.hasError() || expected.size() != 2 ||
            QChar(char16_t(u)).category() == QChar::Other_PrivateUse)
            expected.clear();
        ASSERT_EQ(encoder.cp936(one), expected) << std::hex << uint(u);
        written += !expected.isEmpty();
    }
    EXPECT_GT(written, 21000);
    EXPECT_TRUE(encoder.cp936(QStringLiteral("😀")).isEmpty());
}

} // namespace

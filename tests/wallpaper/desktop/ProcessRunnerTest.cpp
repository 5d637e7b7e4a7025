// The real runner: arguments arrive unchanged, and every way a program can fail is reported.
#include "support/TestSupport.h"
#include "wallpaper/desktop/CommandRunner.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

TEST(ProcessRunner, PassesEveryArgumentAsItIsWithoutAShell)
{
    ProcessRunner runner;
    QByteArray out;
    QString error;
    ASSERT_TRUE(runner.run(QStringLiteral("printf"),
                           {QStringLiteral("%s|"), QStringLiteral("a b"), QStringLiteral("it's"),
                            QStringLiteral("壁纸"), QStringLiteral("*"), QStringLiteral("$(id)")},
                           &out, &error))
        << qPrintable(error);
    EXPECT_EQ(QString::fromUtf8(out), QStringLiteral("a b|it's|壁纸|*|$(id)|"));
}

TEST(ProcessRunner, ReportsAMissingProgramAFailureWithItsMessageAndATimeout)
{
    ProcessRunner runner(300);
    QString error;
    EXPECT_FALSE(runner.run(QStringLiteral("tevuna-no-such-program"), {}, nullptr, &error));
    EXPECT_EQ(error, QStringLiteral("无法运行“tevuna-no-such-program”：找不到该程序或无法启动"));

    EXPECT_FALSE(runner.run(
        QStringLiteral("sh"),
        {QStringLiteral("-c"), QStringLiteral("echo 'no such key' >&2; exit 3")}, nullptr, &error));
    EXPECT_EQ(error, QStringLiteral("“sh”执行失败（退出码 3）：no such key"));

    EXPECT_FALSE(runner.run(QStringLiteral("sleep"), {QStringLiteral("30")}, nullptr, &error));
    EXPECT_EQ(error, QStringLiteral("“sleep”在 0.3 秒内没有结束，已被终止"));
}

TEST(ProcessRunner, StopsADetachedProgramOnlyWhileThatIdStillRunsIt)
{
    ProcessRunner runner;
    qint64 pid = 0;
    QString error;
    ASSERT_TRUE(runner.startDetached(QStringLiteral("sleep"), {QStringLiteral("30")}, &pid, &error))
        << qPrintable(error);
    ASSERT_GT(pid, 1);
    ASSERT_TRUE(runner.isRunning(pid, QStringLiteral("sleep")));
    EXPECT_FALSE(runner.isRunning(pid, QStringLiteral("swaybg")));

    runner.stopDetached(pid, QStringLiteral("swaybg")); // another program now: left alone
    EXPECT_TRUE(runner.isRunning(pid, QStringLiteral("sleep")));

    runner.stopDetached(pid, QStringLiteral("sleep"));
    for (int i = 0; i < 100 && runner.isRunning(pid, QStringLiteral("sleep")); ++i)
        QThread::msleep(50);
    EXPECT_FALSE(runner.isRunning(pid, QStringLiteral("sleep")));
    EXPECT_FALSE(runner.isRunning(0, QStringLiteral("sleep")));
}

} // namespace

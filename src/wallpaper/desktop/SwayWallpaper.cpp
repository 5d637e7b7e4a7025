#include "wallpaper/desktop/SwayWallpaper.h"

#include "wallpaper/desktop/CommandRunner.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>

#include <cstdio>

namespace tevuna {

namespace {

const QString kSwaybg = QStringLiteral("swaybg");

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = QStringLiteral("无法设置 sway 桌面背景：%1").arg(text);
    return false;
}

// Neither sway nor swaybg says when a picture cannot be opened or decoded: both go on
// running and show grey. So the picture is decoded here first, as they would.
bool loadable(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(1).size() != 1)
        return fail(error,
                    QStringLiteral("无法读取壁纸图片“%1”").arg(QDir::toNativeSeparators(path)));
    file.close();
    if (QImageReader(path).read().isNull())
        return fail(
            error,
            QStringLiteral("壁纸图片“%1”已损坏，无法显示").arg(QDir::toNativeSeparators(path)));
    return true;
}

// Only these characters pass sway's command parser unchanged.
bool plainPath(const QString &path)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9/._+-]+$"));
    return re.match(path).hasMatch();
}

// swaymsg prints one object per command: [{"success": true}] or
// [{"success": false, "error": "..."}].
bool swayAccepted(const QByteArray &reply, QString *reason)
{
    const QJsonDocument document = QJsonDocument::fromJson(reply);
    const QJsonArray results =
        document.isArray() ? document.array()
                           : (document.isObject() ? QJsonArray{document.object()} : QJsonArray{});
    if (results.isEmpty() || !results.first().isObject()) {
        *reason = QStringLiteral("sway 没有回答");
        return false;
    }
    for (const QJsonValue &result : results) {
        const QJsonObject object = result.toObject();
        if (!object.value(QStringLiteral("success")).toBool()) {
            const QString text = object.value(QStringLiteral("error")).toString();
            *reason = text.isEmpty() ? QStringLiteral("sway 拒绝了该设置") : text;
            return false;
        }
    }
    return true;
}

// rename(2) replaces an existing link in one step, where QFile::rename refuses to.
bool replaceLink(const QString &fresh, const QString &link)
{
    return std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(link).constData()) ==
           0;
}

} // namespace

SwayWallpaper::SwayWallpaper(std::shared_ptr<CommandRunner> runner, QString runtimeDir,
                             QString swaySocket)
    : m_runner(std::move(runner)), m_runtimeDir(std::move(runtimeDir)),
      m_swaySocket(std::move(swaySocket))
{}

QString SwayWallpaper::defaultRuntimeDir()
{
    const QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return dir.isEmpty() ? QDir::tempPath() : dir;
}

bool SwayWallpaper::set(const QString &path, QString *error)
{
    if (!loadable(path, error))
        return false;
    return m_swaySocket.isEmpty() ? setThroughOwnClient(path, error) : setThroughSway(path, error);
}

bool SwayWallpaper::setThroughSway(const QString &path, QString *error)
{
    const QString link = QDir(m_runtimeDir).filePath(QStringLiteral("tevuna-wallpaper.bmp"));
    if (!plainPath(link))
        return fail(
            error,
            QStringLiteral("运行目录“%1”的名称含有 sway 不能原样接受的字符").arg(m_runtimeDir));
    // The link is replaced in one step, so sway never finds it missing.
    const QString fresh = link + QStringLiteral(".new");
    QFile::remove(fresh);
    if (!QFile::link(QFileInfo(path).absoluteFilePath(), fresh) || !replaceLink(fresh, link)) {
        QFile::remove(fresh);
        return fail(error, QStringLiteral("无法在“%1”中建立指向壁纸图片的链接").arg(m_runtimeDir));
    }

    QByteArray reply;
    QString reason;
    if (!m_runner->run(QStringLiteral("swaymsg"),
                       {QStringLiteral("-s"), m_swaySocket, QStringLiteral("--"),
                        QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"), link,
                        QStringLiteral("stretch")},
                       &reply, &reason) ||
        !swayAccepted(reply, &reason))
        return fail(error, reason);
    return true;
}

bool SwayWallpaper::setThroughOwnClient(const QString &path, QString *error)
{
    const QString pidFile = QDir(m_runtimeDir).filePath(QStringLiteral("tevuna-swaybg.pid"));
    qint64 previous = 0;
    {
        QFile file(pidFile);
        if (file.open(QIODevice::ReadOnly))
            previous = file.readAll().trimmed().toLongLong();
    }

    qint64 pid = 0;
    QString reason;
    if (!m_runner->startDetached(kSwaybg,
                                 {QStringLiteral("-o"), QStringLiteral("*"), QStringLiteral("-i"),
                                  path, QStringLiteral("-m"), QStringLiteral("stretch")},
                                 &pid, &reason))
        return fail(error, reason);

    // swaybg exits at once when it cannot connect or the compositor has no layer shell; a
    // client still running after this while is drawing.
    const QDeadlineTimer settle(400);
    while (m_runner->isRunning(pid, kSwaybg) && !settle.hasExpired())
        QThread::msleep(20);
    if (!m_runner->isRunning(pid, kSwaybg))
        return fail(error, QStringLiteral("swaybg 无法显示该图片，原来的背景保持不变"));

    QSaveFile file(pidFile);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::number(pid));
        file.commit();
    }
    if (previous > 0 && previous != pid)
        m_runner->stopDetached(previous, kSwaybg);
    return true;
}

} // namespace tevuna

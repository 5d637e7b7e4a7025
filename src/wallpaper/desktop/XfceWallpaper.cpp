#include "wallpaper/desktop/XfceWallpaper.h"

#include "wallpaper/desktop/CommandRunner.h"

namespace tevuna {

namespace {
const QString kXfconfQuery = QStringLiteral("xfconf-query");
const QString kChannel = QStringLiteral("xfce4-desktop");
const QString kImageKey = QStringLiteral("/last-image");
const QString kStyleKey = QStringLiteral("/image-style");
// xfdesktop's image-style values: 0 none, 1 centred, 2 tiled, 3 stretched, 4 scaled, 5 zoomed.
const QString kStretched = QStringLiteral("3");
} // namespace

XfceWallpaper::XfceWallpaper(std::shared_ptr<CommandRunner> runner, QStringList screenNames)
    : m_runner(std::move(runner)), m_screenNames(std::move(screenNames))
{}

bool XfceWallpaper::write(const QString &property, const QString &type, const QString &value,
                          QString *error)
{
    // -n -t creates a missing property and sets an existing one alike.
    QString reason;
    if (m_runner->run(kXfconfQuery,
                      {QStringLiteral("-c"), kChannel, QStringLiteral("-p"), property,
                       QStringLiteral("-n"), QStringLiteral("-t"), type, QStringLiteral("-s"),
                       value},
                      nullptr, &reason))
        return true;
    if (error)
        *error = QStringLiteral("无法设置 XFCE 桌面背景：%1").arg(reason);
    return false;
}

bool XfceWallpaper::set(const QString &path, QString *error)
{
    QByteArray listing;
    QString reason;
    if (!m_runner->run(kXfconfQuery, {QStringLiteral("-c"), kChannel, QStringLiteral("-l")},
                       &listing, &reason)) {
        if (error)
            *error = QStringLiteral("无法读取 XFCE 桌面设置：%1").arg(reason);
        return false;
    }
    // Monitor names differ between machines and versions, so every stored picture is set.
    QStringList imageKeys;
    for (const QString &line : QString::fromUtf8(listing).split(QLatin1Char('\n'))) {
        const QString key = line.trimmed();
        if (key.endsWith(kImageKey))
            imageKeys << key;
    }
    if (imageKeys.isEmpty()) {
        for (const QString &screen : m_screenNames)
            imageKeys << QStringLiteral("/backdrop/screen0/monitor%1/workspace0%2")
                             .arg(screen, kImageKey);
    }
    if (imageKeys.isEmpty()) {
        if (error)
            *error = QStringLiteral("XFCE 桌面没有可以设置的背景（找不到显示器）");
        return false;
    }
    for (const QString &imageKey : imageKeys) {
        const QString styleKey = imageKey.chopped(kImageKey.size()) + kStyleKey;
        if (!write(styleKey, QStringLiteral("int"), kStretched, error) ||
            !write(imageKey, QStringLiteral("string"), path, error))
            return false;
    }
    return true;
}

} // namespace tevuna

#include "wallpaper/desktop/GSettingsWallpaper.h"

#include "wallpaper/desktop/CommandRunner.h"

#include <QUrl>

namespace tevuna {

namespace {
const QString kGsettings = QStringLiteral("gsettings");
} // namespace

GSettingsWallpaper::Schema GSettingsWallpaper::gnome()
{
    // GNOME 42 and later show picture-uri-dark in dark mode; older ones lack the key.
    return {QStringLiteral("GNOME"), QStringLiteral("org.gnome.desktop.background"),
            QStringLiteral("picture-uri"), true, QStringLiteral("picture-uri-dark")};
}

GSettingsWallpaper::Schema GSettingsWallpaper::cinnamon()
{
    return {QStringLiteral("Cinnamon"), QStringLiteral("org.cinnamon.desktop.background"),
            QStringLiteral("picture-uri"), true, QString()};
}

GSettingsWallpaper::Schema GSettingsWallpaper::mate()
{
    return {QStringLiteral("MATE"), QStringLiteral("org.mate.background"),
            QStringLiteral("picture-filename"), false, QString()};
}

GSettingsWallpaper::GSettingsWallpaper(Schema schema, std::shared_ptr<CommandRunner> runner)
    : m_schema(std::move(schema)), m_runner(std::move(runner))
{}

QString GSettingsWallpaper::variantText(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

bool GSettingsWallpaper::write(const QString &key, const QString &value, QString *error)
{
    QString reason;
    if (m_runner->run(kGsettings, {QStringLiteral("set"), m_schema.id, key, value}, nullptr,
                      &reason))
        return true;
    if (error)
        *error = QStringLiteral("无法设置 %1 桌面背景：%2").arg(m_schema.desktopName, reason);
    return false;
}

bool GSettingsWallpaper::set(const QString &path, QString *error)
{
    // Listing the keys first tells a missing schema apart from a refused value, and whether
    // this version has the dark-mode key.
    QByteArray keyList;
    QString reason;
    if (!m_runner->run(kGsettings, {QStringLiteral("list-keys"), m_schema.id}, &keyList, &reason)) {
        if (error)
            *error = QStringLiteral("找不到 %1 桌面的背景设置（%2）：%3")
                         .arg(m_schema.desktopName, m_schema.id, reason);
        return false;
    }
    const QStringList keys = QString::fromUtf8(keyList).split(QLatin1Char('\n'));

    const QString picture =
        m_schema.pictureIsUri ? QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded()) : path;
    // The fill mode goes first, so the new picture is drawn stretched from its first frame.
    if (!write(QStringLiteral("picture-options"), variantText(QStringLiteral("stretched")), error))
        return false;
    if (!write(m_schema.pictureKey, variantText(picture), error))
        return false;
    if (!m_schema.darkKey.isEmpty() && keys.contains(m_schema.darkKey))
        return write(m_schema.darkKey, variantText(picture), error);
    return true;
}

} // namespace tevuna

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

QString GSettingsWallpaper::parseVariantString(const QString &text)
{
    const QString t = text.trimmed();
    if (t.size() < 2 || (t.front() != QLatin1Char('\'') && t.front() != QLatin1Char('"')) ||
        t.back() != t.front())
        return {};
    QString value;
    for (qsizetype i = 1; i + 1 < t.size(); ++i) {
        if (t[i] == QLatin1Char('\\') && i + 2 < t.size())
            ++i;
        value += t[i];
    }
    return value;
}

bool GSettingsWallpaper::read(const QString &key, QString *value, QString *error)
{
    QByteArray out;
    QString reason;
    if (m_runner->run(kGsettings, {QStringLiteral("get"), m_schema.id, key}, &out, &reason)) {
        *value = parseVariantString(QString::fromUtf8(out));
        return true;
    }
    if (error)
        *error = QStringLiteral("无法读取 %1 桌面背景设置：%2").arg(m_schema.desktopName, reason);
    return false;
}

bool GSettingsWallpaper::write(const QString &key, const QString &value, QString *error)
{
    QString reason;
    if (m_runner->run(kGsettings, {QStringLiteral("set"), m_schema.id, key, value}, nullptr,
                      &reason))
        return true;
    if (!error)
        return false;
    // A key locked by the administrator (dconf's lockdown) refuses every value: say that, not
    // gsettings' own words, so the user knows another try will not help.
    QByteArray writable;
    if (m_runner->run(kGsettings, {QStringLiteral("writable"), m_schema.id, key}, &writable,
                      nullptr) &&
        writable.trimmed() == "false")
        *error = QStringLiteral("%1 桌面的背景设置（%2）已被系统管理员锁定，无法更换壁纸。")
                     .arg(m_schema.desktopName, key);
    else
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
    if (!write(m_schema.pictureKey, variantText(picture), error))
        return false;
    // Without a session bus gsettings answers success and keeps nothing: only a value that
    // reads back is a wallpaper the desktop has.
    QString stored;
    if (!read(m_schema.pictureKey, &stored, error))
        return false;
    if (stored != picture) {
        if (error)
            *error = QStringLiteral("%1 桌面没有接受新背景：设置后读回的不是新图片"
                                    "（没有会话总线时 gsettings 什么也不保存）。")
                         .arg(m_schema.desktopName);
        return false;
    }
    // The fill mode only once the picture was taken: a refused one leaves the user's alone.
    if (!write(QStringLiteral("picture-options"), variantText(QStringLiteral("stretched")), error))
        return false;
    if (!m_schema.darkKey.isEmpty() && keys.contains(m_schema.darkKey))
        return write(m_schema.darkKey, variantText(picture), error);
    return true;
}

} // namespace tevuna

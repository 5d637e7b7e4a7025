#include "wallpaper/desktop/KdeWallpaper.h"

#include "wallpaper/desktop/CommandRunner.h"

#include <QUrl>
#include <QVariant>

namespace tevuna {

namespace {

// A JavaScript string literal holding text: everything but plain URI characters becomes a
// \uXXXX escape, so quotes, backslashes and line breaks cannot end the literal.
QString scriptString(const QString &text)
{
    QString literal = QStringLiteral("\"");
    for (const QChar c : text) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           QStringLiteral(":/.-_%~").contains(c);
        if (plain)
            literal += c;
        else
            literal += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return literal + QLatin1Char('"');
}

} // namespace

KdeWallpaper::KdeWallpaper(std::shared_ptr<CommandRunner> runner) : m_runner(std::move(runner)) {}

QString KdeWallpaper::script(const QString &path)
{
    // FillMode 0 is Stretch in the image plugin (the values of a Qt Quick Image's fillMode).
    return QStringLiteral("var image = %1;\n"
                          "var all = desktops();\n"
                          "for (var i = 0; i < all.length; ++i) {\n"
                          "    var d = all[i];\n"
                          "    d.wallpaperPlugin = \"org.kde.image\";\n"
                          "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", "
                          "\"General\"];\n"
                          "    d.writeConfig(\"Image\", image);\n"
                          "    d.writeConfig(\"FillMode\", 0);\n"
                          "    print(d.wallpaperPlugin + \" \" + d.readConfig(\"Image\"));\n"
                          "}\n")
        .arg(scriptString(QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded())));
}

// The script prints each desktop's plugin and picture as Plasma keeps them: no line means no
// desktop was there to change (the shell still starting), another picture means it kept its.
bool KdeWallpaper::taken(const QString &printed, const QString &path, QString *error)
{
    const QString expected = QStringLiteral("org.kde.image ") +
                             QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
    const QStringList lines = printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QString message;
    if (lines.isEmpty())
        message = QStringLiteral("KDE Plasma 还没有可以设置背景的桌面，请稍后再试一次。");
    for (const QString &line : lines) {
        if (line.trimmed() != expected && message.isEmpty())
            message =
                QStringLiteral("KDE Plasma 没有接受新背景：桌面读回的是“%1”。").arg(line.trimmed());
    }
    if (message.isEmpty())
        return true;
    if (error)
        *error = message;
    return false;
}

bool KdeWallpaper::set(const QString &path, QString *error)
{
    const DBusCall call{QStringLiteral("org.kde.plasmashell"),
                        QStringLiteral("/PlasmaShell"),
                        QStringLiteral("org.kde.PlasmaShell"),
                        QStringLiteral("evaluateScript"),
                        {script(path)}};
    QString reason;
    QVariant reply;
    if (m_runner->callSessionBus(call, &reply, &reason))
        return taken(reply.toString(), path, error);
    if (error) {
        // Plasma's two refusals of every script, in words that say who can lift them.
        if (reason.contains(QLatin1String("Widgets are locked"), Qt::CaseInsensitive))
            *error = QStringLiteral("KDE Plasma 的桌面部件已锁定，无法更换壁纸。"
                                    "请先解锁部件再试一次；若无法解锁，请联系系统管理员。");
        else if (reason.contains(QLatin1String("Administrative policies"), Qt::CaseInsensitive))
            *error = QStringLiteral("系统管理员的策略禁止 KDE Plasma 运行桌面脚本，无法更换壁纸。");
        else
            *error = QStringLiteral("无法设置 KDE Plasma 桌面背景：%1").arg(reason);
    }
    return false;
}

} // namespace tevuna

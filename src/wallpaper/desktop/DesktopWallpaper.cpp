#include "wallpaper/desktop/DesktopWallpaper.h"

#include "wallpaper/desktop/CommandRunner.h"
#include "wallpaper/desktop/GSettingsWallpaper.h"
#include "wallpaper/desktop/KdeWallpaper.h"
#include "wallpaper/desktop/SwayWallpaper.h"
#include "wallpaper/desktop/WindowsWallpaper.h"
#include "wallpaper/desktop/XfceWallpaper.h"
#ifdef TEVUNA_HAVE_X11
#include "wallpaper/desktop/X11RootWallpaper.h"
#endif

#include <QGuiApplication>
#include <QScreen>

namespace tevuna {

DesktopWallpaper::~DesktopWallpaper() = default;

namespace {

// Stands in when no desktop can be used: every apply fails with the same reason.
class UnavailableWallpaper : public DesktopWallpaper
{
public:
    explicit UnavailableWallpaper(QString reason) : m_reason(std::move(reason)) {}
    bool set(const QString &, QString *error) override
    {
        if (error)
            *error = m_reason;
        return false;
    }
    bool needsFreshPath() const override { return false; }

private:
    QString m_reason;
};

struct DesktopName {
    const char *name; // lower case
    DesktopKind kind;
};

// Names as XDG_CURRENT_DESKTOP spells them (compared without case), and our own short ones.
constexpr DesktopName kDesktopNames[] = {
    {"gnome", DesktopKind::Gnome},
    {"unity", DesktopKind::Gnome},
    {"budgie", DesktopKind::Gnome},
    {"budgie-desktop", DesktopKind::Gnome},
    {"gnome-flashback", DesktopKind::Gnome},
    {"gnome-classic", DesktopKind::Gnome},
    {"x-cinnamon", DesktopKind::Cinnamon},
    {"cinnamon", DesktopKind::Cinnamon},
    {"mate", DesktopKind::Mate},
    {"kde", DesktopKind::Kde},
    {"plasma", DesktopKind::Kde},
    {"xfce", DesktopKind::Xfce},
    {"sway", DesktopKind::Sway},
    {"hyprland", DesktopKind::Sway},
    {"river", DesktopKind::Sway},
    {"wayfire", DesktopKind::Sway},
};

bool lookUp(const QString &name, DesktopKind *kind)
{
    const QString lower = name.trimmed().toLower();
    for (const DesktopName &entry : kDesktopNames) {
        if (lower == QLatin1String(entry.name)) {
            *kind = entry.kind;
            return true;
        }
    }
    return false;
}

DesktopChoice unavailable(const QString &reason)
{
    return {DesktopKind::Unavailable, reason};
}

} // namespace

DesktopChoice chooseDesktop(const QProcessEnvironment &env)
{
    const QString forced = env.value(QStringLiteral("TEVUNA_DESKTOP")).trimmed().toLower();
    if (!forced.isEmpty()) {
        DesktopKind kind = DesktopKind::Unavailable;
        if (forced == QLatin1String("x11"))
            return {DesktopKind::X11, {}};
        if (forced == QLatin1String("windows"))
            return {DesktopKind::Windows, {}};
        if (forced == QLatin1String("none"))
            return unavailable(QStringLiteral("已设置为不更改桌面壁纸（TEVUNA_DESKTOP=none）"));
        if (lookUp(forced, &kind))
            return {kind, {}};
        return unavailable(QStringLiteral("不认识的桌面类型“%1”（TEVUNA_DESKTOP）").arg(forced));
    }

#ifdef Q_OS_WIN
    return {DesktopKind::Windows, {}};
#else
    // A list such as "ubuntu:GNOME": the first name we know decides.
    const QStringList names = env.value(QStringLiteral("XDG_CURRENT_DESKTOP"))
                                  .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &name : names) {
        DesktopKind kind = DesktopKind::Unavailable;
        if (lookUp(name, &kind))
            return {kind, {}};
    }

    const bool wayland = env.value(QStringLiteral("XDG_SESSION_TYPE"))
                                 .compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
                         !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    if (!env.value(QStringLiteral("SWAYSOCK")).isEmpty())
        return {DesktopKind::Sway, {}};
    // Under Wayland an X server, if any, only serves old programs: its root window is
    // never seen.
    if (wayland)
        return unavailable(QStringLiteral("不支持在此 Wayland 桌面（%1）上设置壁纸")
                               .arg(names.isEmpty() ? QStringLiteral("未知") : names.join(':')));
    if (!env.value(QStringLiteral("DISPLAY")).isEmpty())
        return {DesktopKind::X11, {}};
    return unavailable(QStringLiteral("没有可用的桌面（未设置 DISPLAY 或 WAYLAND_DISPLAY）"));
#endif
}

std::unique_ptr<DesktopWallpaper> createDesktopWallpaper(const DesktopChoice &choice,
                                                         std::shared_ptr<CommandRunner> runner,
                                                         const QStringList &screenNames)
{
    switch (choice.kind) {
    case DesktopKind::Unavailable:
        break;
    case DesktopKind::Windows:
#ifdef Q_OS_WIN
        return std::make_unique<WindowsWallpaper>(&windows::setSystemWallpaper);
#else
        return std::make_unique<UnavailableWallpaper>(
            QStringLiteral("此版本不能设置 Windows 桌面壁纸"));
#endif
    case DesktopKind::Gnome:
        return std::make_unique<GSettingsWallpaper>(GSettingsWallpaper::gnome(), runner);
    case DesktopKind::Cinnamon:
        return std::make_unique<GSettingsWallpaper>(GSettingsWallpaper::cinnamon(), runner);
    case DesktopKind::Mate:
        return std::make_unique<GSettingsWallpaper>(GSettingsWallpaper::mate(), runner);
    case DesktopKind::Kde:
        return std::make_unique<KdeWallpaper>(runner);
    case DesktopKind::Xfce:
        return std::make_unique<XfceWallpaper>(runner, screenNames);
    case DesktopKind::Sway:
        return std::make_unique<SwayWallpaper>(runner, SwayWallpaper::defaultRuntimeDir(),
                                               qEnvironmentVariable("SWAYSOCK"));
    case DesktopKind::X11:
#ifdef TEVUNA_HAVE_X11
        return std::make_unique<X11RootWallpaper>();
#else
        return std::make_unique<UnavailableWallpaper>(
            QStringLiteral("此版本不能设置 X11 桌面壁纸"));
#endif
    }
    return std::make_unique<UnavailableWallpaper>(choice.reason);
}

std::unique_ptr<DesktopWallpaper> createDesktopWallpaper()
{
    QStringList screenNames;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        for (const QScreen *screen : QGuiApplication::screens())
            screenNames << screen->name();
    }
    return createDesktopWallpaper(chooseDesktop(QProcessEnvironment::systemEnvironment()),
                                  std::make_shared<ProcessRunner>(), screenNames);
}

} // namespace tevuna

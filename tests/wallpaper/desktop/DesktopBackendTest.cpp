// The back ends' choice and the exact commands each sends, through a recording runner;
// the GNOME-family keys and XFCE's properties also for real, with private settings stores.
#include "FakeRunner.h"
#include "support/TestSupport.h"
#include "wallpaper/desktop/CommandRunner.h"
#include "wallpaper/desktop/DesktopWallpaper.h"
#include "wallpaper/desktop/GSettingsWallpaper.h"
#include "wallpaper/desktop/KdeWallpaper.h"
#include "wallpaper/desktop/SwayWallpaper.h"
#include "wallpaper/desktop/WindowsWallpaper.h"
#include "wallpaper/desktop/XfceWallpaper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

using namespace tevuna;
using tevuna::test::FakeRunner;

namespace {

// A path with a space, an apostrophe and Chinese: every back end must pass it unharmed.
const QString kPath = QStringLiteral("/home/u/it's 壁纸/Mix-1700000000000.bmp");
const QString kUri =
    QStringLiteral("file:///home/u/it's%20%E5%A3%81%E7%BA%B8/Mix-1700000000000.bmp");

bool hasChinese(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff)
            return true;
    }
    return false;
}

// Sets environment variables for one test and puts the old values back.
class EnvGuard
{
public:
    void set(const char *name, const QByteArray &value)
    {
        m_saved.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        qputenv(name, value);
    }
    ~EnvGuard()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->wasSet)
                qputenv(it->name, it->value);
            else
                qunsetenv(it->name);
        }
    }

private:
    struct Saved {
        const char *name;
        QByteArray value;
        bool wasSet;
    };
    std::vector<Saved> m_saved;
};

// ---- choosing the back end ----

struct ChoiceCase {
    const char *name;
    const char *env; // NAME=value pairs separated by ';'
    DesktopKind kind;
};

class ChooseDesktop : public ::testing::TestWithParam<ChoiceCase>
{};

TEST_P(ChooseDesktop, PicksTheBackEndOfTheSession)
{
    QProcessEnvironment env;
    for (const QString &pair :
         QString::fromUtf8(GetParam().env).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        env.insert(pair.left(eq), pair.mid(eq + 1));
    }
    const DesktopChoice choice = chooseDesktop(env);
    EXPECT_EQ(choice.kind, GetParam().kind);
    if (choice.kind == DesktopKind::Unavailable) {
        EXPECT_TRUE(hasChinese(choice.reason)) << qPrintable(choice.reason);
    } else {
        EXPECT_TRUE(choice.reason.isEmpty());
    }
}

const ChoiceCase kChoiceCases[] = {
    {"ForcedGnome", "TEVUNA_DESKTOP=gnome", DesktopKind::Gnome},
    {"ForcedUnity", "TEVUNA_DESKTOP=unity", DesktopKind::Gnome},
    {"ForcedBudgie", "TEVUNA_DESKTOP=budgie", DesktopKind::Gnome},
    {"ForcedCinnamon", "TEVUNA_DESKTOP=cinnamon", DesktopKind::Cinnamon},
    {"ForcedMate", "TEVUNA_DESKTOP=mate", DesktopKind::Mate},
    {"ForcedKdeInCapitals", "TEVUNA_DESKTOP=KDE", DesktopKind::Kde},
    {"ForcedXfce", "TEVUNA_DESKTOP=xfce", DesktopKind::Xfce},
    {"ForcedSway", "TEVUNA_DESKTOP=sway", DesktopKind::Sway},
    {"ForcedX11", "TEVUNA_DESKTOP=x11", DesktopKind::X11},
    {"ForcedWindows", "TEVUNA_DESKTOP=windows", DesktopKind::Windows},
    {"ForcedNone", "TEVUNA_DESKTOP=none;XDG_CURRENT_DESKTOP=GNOME;DISPLAY=:0",
     DesktopKind::Unavailable},
    {"ForcedUnknownName", "TEVUNA_DESKTOP=amiga;DISPLAY=:0", DesktopKind::Unavailable},
    {"ForcedBeatsTheSession", "TEVUNA_DESKTOP=xfce;XDG_CURRENT_DESKTOP=KDE", DesktopKind::Xfce},
    {"UbuntuGnome", "XDG_CURRENT_DESKTOP=ubuntu:GNOME;XDG_SESSION_TYPE=wayland",
     DesktopKind::Gnome},
    {"GnomeFlashback", "XDG_CURRENT_DESKTOP=GNOME-Flashback:GNOME", DesktopKind::Gnome},
    {"Unity", "XDG_CURRENT_DESKTOP=Unity", DesktopKind::Gnome},
    {"Budgie", "XDG_CURRENT_DESKTOP=Budgie:GNOME", DesktopKind::Gnome},
    {"Cinnamon", "XDG_CURRENT_DESKTOP=X-Cinnamon", DesktopKind::Cinnamon},
    {"Mate", "XDG_CURRENT_DESKTOP=MATE", DesktopKind::Mate},
    {"KdeOnWayland", "XDG_CURRENT_DESKTOP=KDE;WAYLAND_DISPLAY=wayland-0", DesktopKind::Kde},
    {"Xfce", "XDG_CURRENT_DESKTOP=XFCE;DISPLAY=:0", DesktopKind::Xfce},
    {"SwayByName", "XDG_CURRENT_DESKTOP=sway;WAYLAND_DISPLAY=wayland-1", DesktopKind::Sway},
    {"SwayBySocket", "XDG_SESSION_TYPE=wayland;SWAYSOCK=/run/user/1000/sway-ipc.sock",
     DesktopKind::Sway},
    {"UnknownDesktopOnX11", "XDG_CURRENT_DESKTOP=LXQt;DISPLAY=:0", DesktopKind::X11},
    {"BareX11", "DISPLAY=:1", DesktopKind::X11},
    {"UnknownWaylandEvenWithXwayland",
     "XDG_CURRENT_DESKTOP=COSMIC;WAYLAND_DISPLAY=wayland-0;DISPLAY=:0", DesktopKind::Unavailable},
    {"WaylandSessionType", "XDG_SESSION_TYPE=wayland", DesktopKind::Unavailable},
    {"NoSessionAtAll", "", DesktopKind::Unavailable},
};

INSTANTIATE_TEST_SUITE_P(Sessions, ChooseDesktop, ::testing::ValuesIn(kChoiceCases),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(CreateDesktopWallpaper, WithoutAUsableDesktopEveryApplyFailsWithTheReason)
{
    QProcessEnvironment env;
    const DesktopChoice none = chooseDesktop(env);
    auto runner = std::make_shared<FakeRunner>();
    QString error;
    EXPECT_FALSE(createDesktopWallpaper(none, runner)->set(kPath, &error));
    EXPECT_EQ(error, none.reason);

    // Not a Windows build: the Windows back end cannot be had, and says so.
    error.clear();
    EXPECT_FALSE(createDesktopWallpaper({DesktopKind::Windows, {}}, runner)->set(kPath, &error));
    EXPECT_TRUE(hasChinese(error)) << qPrintable(error);
    EXPECT_TRUE(runner->commands.isEmpty());
}

// ---- GNOME, Cinnamon, MATE ----

struct GSettingsCase {
    const char *name;
    GSettingsWallpaper::Schema (*schema)();
    const char *keyList;
    QList<QStringList> expected;
};

class GSettingsCommands : public ::testing::TestWithParam<GSettingsCase>
{};

QStringList gset(const char *schema, const char *key, const QString &value)
{
    return {QStringLiteral("gsettings"), QStringLiteral("set"), QString::fromLatin1(schema),
            QString::fromLatin1(key), value};
}

QStringList gget(const char *schema, const char *key)
{
    return {QStringLiteral("gsettings"), QStringLiteral("get"), QString::fromLatin1(schema),
            QString::fromLatin1(key)};
}

QStringList listKeys(const char *schema)
{
    return {QStringLiteral("gsettings"), QStringLiteral("list-keys"), QString::fromLatin1(schema)};
}

const QString kQuotedUri =
    QStringLiteral("'file:///home/u/it\\'s%20%E5%A3%81%E7%BA%B8/Mix-1700000000000.bmp'");
const QString kStretched = QStringLiteral("'stretched'");

const GSettingsCase kGSettingsCases[] = {
    {"GnomeSetsTheDarkModePictureToo",
     &GSettingsWallpaper::gnome,
     "color-shading-type\npicture-options\npicture-uri\npicture-uri-dark\n",
     {listKeys("org.gnome.desktop.background"),
      gset("org.gnome.desktop.background", "picture-uri", kQuotedUri),
      gget("org.gnome.desktop.background", "picture-uri"),
      gset("org.gnome.desktop.background", "picture-options", kStretched),
      gset("org.gnome.desktop.background", "picture-uri-dark", kQuotedUri)}},
    {"GnomeBeforeDarkModeHasNoDarkKey",
     &GSettingsWallpaper::gnome,
     "picture-options\npicture-uri\nprimary-color\n",
     {listKeys("org.gnome.desktop.background"),
      gset("org.gnome.desktop.background", "picture-uri", kQuotedUri),
      gget("org.gnome.desktop.background", "picture-uri"),
      gset("org.gnome.desktop.background", "picture-options", kStretched)}},
    {"CinnamonTakesAUri",
     &GSettingsWallpaper::cinnamon,
     "picture-options\npicture-uri\n",
     {listKeys("org.cinnamon.desktop.background"),
      gset("org.cinnamon.desktop.background", "picture-uri", kQuotedUri),
      gget("org.cinnamon.desktop.background", "picture-uri"),
      gset("org.cinnamon.desktop.background", "picture-options", kStretched)}},
    {"MateTakesAPlainPath",
     &GSettingsWallpaper::mate,
     "picture-filename\npicture-options\n",
     {listKeys("org.mate.background"),
      gset("org.mate.background", "picture-filename",
           QStringLiteral("'/home/u/it\\'s 壁纸/Mix-1700000000000.bmp'")),
      gget("org.mate.background", "picture-filename"),
      gset("org.mate.background", "picture-options", kStretched)}},
};

// A settings store as gsettings keeps it: what is set reads back.
std::function<FakeRunner::Reply(const QStringList &)> gsettingsStore(QByteArray keyList,
                                                                     bool keeps = true)
{
    auto store = std::make_shared<QHash<QString, QString>>();
    return [=](const QStringList &command) {
        if (command.value(1) == "list-keys")
            return FakeRunner::Reply{true, keyList, {}};
        if (command.value(1) == "set" && keeps)
            store->insert(command.value(3), command.value(4));
        if (command.value(1) == "get")
            return FakeRunner::Reply{
                true, store->value(command.value(3), QStringLiteral("''")).toUtf8() + '\n', {}};
        return FakeRunner::Reply{};
    };
}

TEST_P(GSettingsCommands, WritesThePictureReadsItBackThenStretches)
{
    auto runner = std::make_shared<FakeRunner>();
    runner->respond = gsettingsStore(GetParam().keyList);
    GSettingsWallpaper backend(GetParam().schema(), runner);
    QString error;
    EXPECT_TRUE(backend.set(kPath, &error)) << qPrintable(error);
    EXPECT_EQ(runner->commands, GetParam().expected);
    EXPECT_TRUE(backend.needsFreshPath());
}

INSTANTIATE_TEST_SUITE_P(Schemas, GSettingsCommands, ::testing::ValuesIn(kGSettingsCases),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(GSettingsWallpaper, MissingSchemaOrRefusedValueIsReportedAndStopsThere)
{
    auto runner = std::make_shared<FakeRunner>();
    runner->respond = [](const QStringList &) {
        return FakeRunner::Reply{false, {}, QStringLiteral("No such schema")};
    };
    QString error;
    EXPECT_FALSE(GSettingsWallpaper(GSettingsWallpaper::cinnamon(), runner).set(kPath, &error));
    EXPECT_EQ(runner->commands.size(), 1);
    EXPECT_TRUE(error.contains(QLatin1String("org.cinnamon.desktop.background")))
        << qPrintable(error);
    EXPECT_TRUE(error.contains(QLatin1String("No such schema"))) << qPrintable(error);

    // A refused picture: gsettings' reason, or the administrator's lock when the key says it
    // is not writable; neither the fill mode nor the dark key after it.
    for (const bool locked : {false, true}) {
        runner->commands.clear();
        runner->respond = [locked](const QStringList &command) {
            if (command.value(1) == QLatin1String("set"))
                return FakeRunner::Reply{false, {}, QStringLiteral("key is not writable")};
            if (command.value(1) == QLatin1String("writable"))
                return FakeRunner::Reply{true, locked ? "false\n" : "true\n", {}};
            return FakeRunner::Reply{true, "picture-uri\npicture-uri-dark\n", {}};
        };
        EXPECT_FALSE(GSettingsWallpaper(GSettingsWallpaper::gnome(), runner).set(kPath, &error));
        EXPECT_EQ(runner->commands.size(), 3);
        EXPECT_EQ(
            runner->commands.value(2),
            (QStringList{"gsettings", "writable", "org.gnome.desktop.background", "picture-uri"}));
        EXPECT_TRUE(error.contains(QLatin1String("GNOME"))) << qPrintable(error);
        EXPECT_EQ(error.contains(QLatin1String("key is not writable")), !locked)
            << qPrintable(error);
        EXPECT_EQ(error.contains(QStringLiteral("锁定")), locked) << qPrintable(error);
    }
}

// Without a session bus gsettings answers success and keeps nothing: the user is told, and
// the fill mode of the desktop is left as it was.
TEST(GSettingsWallpaper, AValueThatDoesNotReadBackIsAFailureAndTheFillModeStays)
{
    auto runner = std::make_shared<FakeRunner>();
    runner->respond = gsettingsStore("picture-options\npicture-uri\npicture-uri-dark\n", false);
    QString error;
    EXPECT_FALSE(GSettingsWallpaper(GSettingsWallpaper::gnome(), runner).set(kPath, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("没有接受"))) << qPrintable(error);
    for (const QStringList &command : runner->commands)
        EXPECT_NE(command.value(3), QLatin1String("picture-options"))
            << qPrintable(command.join(' '));
}

struct RealSchemaCase {
    const char *name;
    GSettingsWallpaper::Schema (*schema)();
};

class GSettingsRoundTrip : public ::testing::TestWithParam<RealSchemaCase>
{};

bool schemaInstalled(ProcessRunner &runner, const GSettingsWallpaper::Schema &schema,
                     QString *error)
{
    return runner.run(QStringLiteral("gsettings"), {QStringLiteral("list-keys"), schema.id},
                      nullptr, error);
}

TEST_P(GSettingsRoundTrip, KeysReadBackAsSet)
{
    // The keyfile back end stores the settings in XDG_CONFIG_HOME and needs no D-Bus.
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    EnvGuard env;
    env.set("GSETTINGS_BACKEND", "keyfile");
    env.set("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    const GSettingsWallpaper::Schema schema = GetParam().schema();
    ProcessRunner runner;
    QString error;
    if (!schemaInstalled(runner, schema, &error))
        GTEST_SKIP() << "schema not installed: " << error.toStdString();

    // Backslashes and quotes too, which a careless quoting would turn into another path.
    const QString path = QStringLiteral("/tmp/x/it's \"壁纸\" \\ 𠀀/Mix-1700000000000.bmp");
    GSettingsWallpaper backend(schema, std::make_shared<ProcessRunner>());
    ASSERT_TRUE(backend.set(path, &error)) << qPrintable(error);

    auto get = [&](const QString &key) {
        QByteArray out;
        EXPECT_TRUE(runner.run(QStringLiteral("gsettings"), {QStringLiteral("get"), schema.id, key},
                               &out, &error))
            << qPrintable(error);
        return GSettingsWallpaper::parseVariantString(QString::fromUtf8(out));
    };
    const QString picture =
        schema.pictureIsUri ? QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded()) : path;
    EXPECT_EQ(get(schema.pictureKey), picture);
    if (schema.pictureIsUri) {
        EXPECT_EQ(QUrl(get(schema.pictureKey)).toLocalFile(), path);
    }
    if (!schema.darkKey.isEmpty()) {
        EXPECT_EQ(get(schema.darkKey), picture);
    }
    EXPECT_EQ(get(QStringLiteral("picture-options")), QStringLiteral("stretched"));
}

// The real gsettings with a store that keeps nothing between runs, as without a session bus:
// every set succeeds, and the wallpaper must still be reported as not taken.
TEST_P(GSettingsRoundTrip, AStoreThatKeepsNothingIsReported)
{
    EnvGuard env;
    env.set("GSETTINGS_BACKEND", "memory");
    const GSettingsWallpaper::Schema schema = GetParam().schema();
    ProcessRunner runner;
    QString error;
    if (!schemaInstalled(runner, schema, &error))
        GTEST_SKIP() << "schema not installed: " << error.toStdString();
    GSettingsWallpaper backend(schema, std::make_shared<ProcessRunner>());
    EXPECT_FALSE(backend.set(QStringLiteral("/tmp/x/Mix-1700000000000.bmp"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("没有接受"))) << qPrintable(error);
}

const RealSchemaCase kRealSchemas[] = {{"Gnome", &GSettingsWallpaper::gnome},
                                       {"Cinnamon", &GSettingsWallpaper::cinnamon},
                                       {"Mate", &GSettingsWallpaper::mate}};

INSTANTIATE_TEST_SUITE_P(Schemas, GSettingsRoundTrip, ::testing::ValuesIn(kRealSchemas),
                         [](const auto &p) { return std::string(p.param.name); });

// ---- KDE Plasma ----

const QString kPrintedByPlasma = QStringLiteral(
    "org.kde.image file:///home/u/it's%20%E5%A3%81%E7%BA%B8/Mix-1700000000000.bmp\n");

TEST(KdeWallpaper, SendsOneScriptForEveryDesktopOverDBus)
{
    auto runner = std::make_shared<FakeRunner>();
    runner->busReply = [](const DBusCall &) {
        return QVariant(kPrintedByPlasma + kPrintedByPlasma);
    };
    QString error;
    ASSERT_TRUE(KdeWallpaper(runner).set(kPath, &error)) << qPrintable(error);
    ASSERT_EQ(runner->busCalls.size(), 1);
    const DBusCall &call = runner->busCalls.front();
    EXPECT_EQ(call.service, QStringLiteral("org.kde.plasmashell"));
    EXPECT_EQ(call.path, QStringLiteral("/PlasmaShell"));
    EXPECT_EQ(call.interface, QStringLiteral("org.kde.PlasmaShell"));
    EXPECT_EQ(call.method, QStringLiteral("evaluateScript"));
    ASSERT_EQ(call.arguments.size(), 1);
    // The apostrophe the URI keeps becomes an escape: nothing in a name can end the string.
    EXPECT_EQ(call.arguments.front().toString(),
              QStringLiteral(
                  "var image = "
                  "\"file:///home/u/it\\u0027s%20%E5%A3%81%E7%BA%B8/Mix-1700000000000.bmp\";\n"
                  "var all = desktops();\n"
                  "for (var i = 0; i < all.length; ++i) {\n"
                  "    var d = all[i];\n"
                  "    d.wallpaperPlugin = \"org.kde.image\";\n"
                  "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
                  "    d.writeConfig(\"Image\", image);\n"
                  "    d.writeConfig(\"FillMode\", 0);\n"
                  "    print(d.wallpaperPlugin + \" \" + d.readConfig(\"Image\"));\n"
                  "}\n"));
}

// What Plasma prints back decides: no desktop yet, or one that kept another picture, is no
// wallpaper taken.
TEST(KdeWallpaper, ADesktopThatDoesNotHoldThePictureIsAFailure)
{
    const struct {
        const char *name;
        QString printed;
        const char *expected;
    } cases[] = {
        {"no desktop yet", QString(), "还没有可以设置背景的桌面"},
        {"another plugin", kPrintedByPlasma + QStringLiteral("org.kde.color file:///old.png\n"),
         "没有接受新背景：桌面读回的是“org.kde.color file:///old.png”"},
    };
    for (const auto &c : cases) {
        auto runner = std::make_shared<FakeRunner>();
        runner->busReply = [&](const DBusCall &) { return QVariant(c.printed); };
        QString error;
        EXPECT_FALSE(KdeWallpaper(runner).set(kPath, &error)) << c.name;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.expected))) << c.name << qPrintable(error);
    }
}

TEST(KdeWallpaper, ScriptQuotesEveryCharacterThatCouldEndTheString)
{
    const QString script = KdeWallpaper::script(QStringLiteral("/a\"b'c\\d\ne);x(/p.bmp"));
    const QString first = script.section(QLatin1Char('\n'), 0, 0);
    EXPECT_EQ(first, QStringLiteral("var image = "
                                    "\"file:///a%22b\\u0027c%5Cd%0Ae\\u0029\\u003bx\\u0028/"
                                    "p.bmp\";"));
}

TEST(KdeWallpaper, LockedWidgetsAndOtherRefusalsAreExplained)
{
    auto runner = std::make_shared<FakeRunner>();
    runner->busError = QStringLiteral("“org.kde.plasmashell”拒绝了请求：Widgets are locked");
    QString error;
    EXPECT_FALSE(KdeWallpaper(runner).set(kPath, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("已锁定"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QStringLiteral("解锁"))) << qPrintable(error);

    runner->busError = QStringLiteral(
        "“org.kde.plasmashell”拒绝了请求：Administrative policies prevent script execution");
    EXPECT_FALSE(KdeWallpaper(runner).set(kPath, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("管理员的策略"))) << qPrintable(error);

    runner->busError = QStringLiteral("D-Bus 会话总线上没有“org.kde.plasmashell”服务");
    EXPECT_FALSE(KdeWallpaper(runner).set(kPath, &error));
    EXPECT_EQ(error, QStringLiteral("无法设置 KDE Plasma 桌面背景：") + runner->busError);
}

// ---- XFCE ----

QStringList xfset(const QString &property, const char *type, const QString &value)
{
    return {QStringLiteral("xfconf-query"),
            QStringLiteral("-c"),
            QStringLiteral("xfce4-desktop"),
            QStringLiteral("-p"),
            property,
            QStringLiteral("-n"),
            QStringLiteral("-t"),
            QString::fromLatin1(type),
            QStringLiteral("-s"),
            value};
}

const QStringList kXfList = {QStringLiteral("xfconf-query"), QStringLiteral("-c"),
                             QStringLiteral("xfce4-desktop"), QStringLiteral("-l")};

TEST(XfceWallpaper, SetsEveryStoredMonitorAndWorkspace)
{
    auto runner = std::make_shared<FakeRunner>();
    runner->respond = [](const QStringList &command) {
        if (command.contains(QLatin1String("-l")))
            return FakeRunner::Reply{true,
                                     "/backdrop/screen0/monitoreDP-1/workspace0/color-style\n"
                                     "/backdrop/screen0/monitoreDP-1/workspace0/last-image\n"
                                     "/backdrop/screen0/monitorHDMI-2/workspace1/last-image\n"
                                     "/desktop-icons/style\n",
                                     {}};
        return FakeRunner::Reply{};
    };
    QString error;
    ASSERT_TRUE(XfceWallpaper(runner, {QStringLiteral("ignored")}).set(kPath, &error))
        << qPrintable(error);
    const QString a = QStringLiteral("/backdrop/screen0/monitoreDP-1/workspace0/");
    const QString b = QStringLiteral("/backdrop/screen0/monitorHDMI-2/workspace1/");
    EXPECT_EQ(runner->commands, (QList<QStringList>{kXfList, xfset(a + "image-style", "int", "3"),
                                                    xfset(a + "last-image", "string", kPath),
                                                    xfset(b + "image-style", "int", "3"),
                                                    xfset(b + "last-image", "string", kPath)}));
}

TEST(XfceWallpaper, ANewDesktopGetsAPictureForEachScreen)
{
    auto runner = std::make_shared<FakeRunner>();
    QString error;
    ASSERT_TRUE(XfceWallpaper(runner, {QStringLiteral("VGA-1")}).set(kPath, &error))
        << qPrintable(error);
    const QString a = QStringLiteral("/backdrop/screen0/monitorVGA-1/workspace0/");
    EXPECT_EQ(runner->commands, (QList<QStringList>{kXfList, xfset(a + "image-style", "int", "3"),
                                                    xfset(a + "last-image", "string", kPath)}));

    runner->commands.clear();
    EXPECT_FALSE(XfceWallpaper(runner, {}).set(kPath, &error));
    EXPECT_TRUE(hasChinese(error)) << qPrintable(error);
    EXPECT_EQ(runner->commands, (QList<QStringList>{kXfList}));
}

TEST(XfceWallpaper, AFailedQueryIsReported)
{
    auto runner = std::make_shared<FakeRunner>();
    runner->respond = [](const QStringList &) {
        return FakeRunner::Reply{false, {}, QStringLiteral("无法运行“xfconf-query”")};
    };
    QString error;
    EXPECT_FALSE(XfceWallpaper(runner, {QStringLiteral("VGA-1")}).set(kPath, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("无法运行“xfconf-query”"))) << qPrintable(error);
    EXPECT_EQ(runner->commands.size(), 1);
}

// Needs a session bus of its own: run by the desktop_xfconf test inside dbus-run-session.
class OwnSessionBus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariable("TEVUNA_OWN_SESSION_BUS") != QLatin1String("1"))
            GTEST_SKIP() << "runs only inside dbus-run-session (test desktop_dbus_session)";
    }
};

TEST_F(OwnSessionBus, XfconfPropertiesReadBackAsSet)
{
    ProcessRunner runner;
    QString error;
    auto query = [&](const QStringList &args, QByteArray *out = nullptr) {
        EXPECT_TRUE(runner.run(
            QStringLiteral("xfconf-query"),
            QStringList{QStringLiteral("-c"), QStringLiteral("xfce4-desktop")} + args, out, &error))
            << qPrintable(error);
    };
    // A store left by an earlier run is emptied; an empty one has nothing to remove.
    runner.run(QStringLiteral("xfconf-query"),
               {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"),
                QStringLiteral("/backdrop"), QStringLiteral("-r"), QStringLiteral("-R")},
               nullptr, nullptr);
    const QString a = QStringLiteral("/backdrop/screen0/monitorDP-1/workspace0/");
    const QString b = QStringLiteral("/backdrop/screen0/monitorDP-2/workspace3/");
    for (const QString &key : {a, b})
        query({QStringLiteral("-p"), key + "last-image", QStringLiteral("-n"), QStringLiteral("-t"),
               QStringLiteral("string"), QStringLiteral("-s"),
               QStringLiteral("/usr/share/old.png")});

    const QString path = QStringLiteral("/tmp/it's 壁纸/Mix-1700000000000.bmp");
    ASSERT_TRUE(XfceWallpaper(std::make_shared<ProcessRunner>(), {}).set(path, &error))
        << qPrintable(error);
    for (const QString &key : {a, b}) {
        QByteArray image;
        QByteArray style;
        query({QStringLiteral("-p"), key + "last-image"}, &image);
        query({QStringLiteral("-p"), key + "image-style"}, &style);
        EXPECT_EQ(QString::fromUtf8(image).trimmed(), path) << qPrintable(key);
        EXPECT_EQ(style.trimmed(), QByteArray("3")) << qPrintable(key);
    }
}

TEST_F(OwnSessionBus, PlasmaAbsentFromTheBusIsReported)
{
    QString error;
    EXPECT_FALSE(KdeWallpaper(std::make_shared<ProcessRunner>()).set(kPath, &error));
    EXPECT_EQ(error, QStringLiteral("无法设置 KDE Plasma 桌面背景："
                                    "D-Bus 会话总线上没有“org.kde.plasmashell”服务"));
}

// ---- sway ----

// A picture that really exists: the back end decodes it before it hands it over.
QString writePicture(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QImage image(4, 3, QImage::Format_RGB888);
    image.fill(Qt::red);
    EXPECT_TRUE(image.save(path, "BMP"));
    return path;
}

TEST(SwayWallpaper, OwnClientReplacesThePreviousOneOnlyOnceItShowsThePicture)
{
    QTemporaryDir dir;
    const QString picture = writePicture(dir, QStringLiteral("it's 壁纸/Mix.bmp"));
    const QString pidFile = dir.filePath(QStringLiteral("tevuna-swaybg.pid"));
    auto runner = std::make_shared<FakeRunner>();
    SwayWallpaper backend(runner, dir.path());
    EXPECT_FALSE(backend.needsFreshPath());
    const QStringList command = {QStringLiteral("swaybg"),
                                 QStringLiteral("-o"),
                                 QStringLiteral("*"),
                                 QStringLiteral("-i"),
                                 picture,
                                 QStringLiteral("-m"),
                                 QStringLiteral("stretch")};
    QString error;
    ASSERT_TRUE(backend.set(picture, &error)) << qPrintable(error);
    EXPECT_EQ(runner->events, QStringList{QStringLiteral("start 1000")});

    // A later run of the program finds its client through the file.
    SwayWallpaper later(runner, dir.path());
    ASSERT_TRUE(later.set(picture, &error)) << qPrintable(error);
    EXPECT_EQ(runner->events,
              (QStringList{QStringLiteral("start 1000"), QStringLiteral("start 1001"),
                           QStringLiteral("stop 1000 swaybg")}));
    EXPECT_EQ(runner->commands, (QList<QStringList>{command, command}));

    // A client that exits at once (a picture swaybg cannot load) or cannot start leaves the
    // one on screen running and remembered, and the user is told.
    runner->exited << 1002;
    EXPECT_FALSE(later.set(picture, &error));
    EXPECT_EQ(error,
              QStringLiteral("无法设置 sway 桌面背景：swaybg 无法显示该图片，原来的背景保持不变"));
    runner->startSucceeds = false;
    EXPECT_FALSE(later.set(picture, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("无法设置 sway 桌面背景："))) << qPrintable(error);
    EXPECT_EQ(runner->events.size(), 4);
    EXPECT_FALSE(runner->events.contains(QStringLiteral("stop 1001 swaybg")));
    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("1001"));
}

TEST(SwayWallpaper, SwayGetsAPlainLinkAndItsAnswerDecides)
{
    QTemporaryDir dir;
    // sway would run the command in this name if it saw it.
    const QString picture = writePicture(dir, QStringLiteral("$(touch x) \"壁纸\"/Mix.bmp"));
    const QString link = dir.filePath(QStringLiteral("tevuna-wallpaper.bmp"));
    auto runner = std::make_shared<FakeRunner>();
    QByteArray answer = R"([ { "success": true } ])";
    QString failure;
    runner->respond = [&](const QStringList &) {
        return FakeRunner::Reply{failure.isEmpty(), answer, failure};
    };
    SwayWallpaper backend(runner, dir.path(), QStringLiteral("/run/user/1000/sway-ipc.sock"));
    QString error;
    ASSERT_TRUE(backend.set(picture, &error)) << qPrintable(error);
    ASSERT_EQ(runner->commands.size(), 1);
    EXPECT_EQ(runner->commands[0],
              (QStringList{QStringLiteral("swaymsg"), QStringLiteral("-s"),
                           QStringLiteral("/run/user/1000/sway-ipc.sock"), QStringLiteral("--"),
                           QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"),
                           link, QStringLiteral("stretch")}));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), picture);
    EXPECT_TRUE(runner->events.isEmpty()); // no client of our own behind sway's

    // The next apply points the same link elsewhere.
    const QString other = writePicture(dir, QStringLiteral("other.bmp"));
    ASSERT_TRUE(backend.set(other, &error)) << qPrintable(error);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), other);

    struct Case {
        const char *name;
        QByteArray answer;
        QString failure;
        QString expected;
    };
    const Case cases[] = {
        {"refused",
         R"([{"success": false, "error": "Invalid output"}])",
         {},
         QStringLiteral("无法设置 sway 桌面背景：Invalid output")},
        {"swaymsg failed",
         {},
         QStringLiteral("“swaymsg”执行失败（退出码 1）"),
         QStringLiteral("无法设置 sway 桌面背景：“swaymsg”执行失败（退出码 1）")},
        {"no answer", "", {}, QStringLiteral("无法设置 sway 桌面背景：sway 没有回答")},
    };
    for (const Case &c : cases) {
        answer = c.answer;
        failure = c.failure;
        EXPECT_FALSE(backend.set(other, &error)) << c.name;
        EXPECT_EQ(error, c.expected) << c.name;
    }
}

TEST(SwayWallpaper, WhatSwayCannotTakeIsRefusedBeforeAnythingRuns)
{
    QTemporaryDir dir;
    const QString picture = writePicture(dir, QStringLiteral("Mix.bmp"));
    auto runner = std::make_shared<FakeRunner>();
    QString error;

    // sway and swaybg go on for a path they cannot open or decode, and show grey.
    const QString missing = dir.filePath(QStringLiteral("gone.bmp"));
    const QString broken = dir.filePath(QStringLiteral("broken.bmp"));
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("BM") + QByteArray(60, '\x7f'));
    }
    for (const QString &socket : {QString(), QStringLiteral("/run/sway.sock")}) {
        EXPECT_FALSE(SwayWallpaper(runner, dir.path(), socket).set(missing, &error));
        EXPECT_EQ(error,
                  QStringLiteral("无法设置 sway 桌面背景：无法读取壁纸图片“%1”").arg(missing));
        EXPECT_FALSE(SwayWallpaper(runner, dir.path(), socket).set(broken, &error));
        EXPECT_EQ(
            error,
            QStringLiteral("无法设置 sway 桌面背景：壁纸图片“%1”已损坏，无法显示").arg(broken));
    }
    const QString odd = dir.filePath(QStringLiteral("运行 目录"));
    QDir().mkpath(odd);
    EXPECT_FALSE(SwayWallpaper(runner, odd, QStringLiteral("/run/sway.sock")).set(picture, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("sway 不能原样接受"))) << qPrintable(error);
    EXPECT_TRUE(runner->commands.isEmpty());
}

// ---- Windows, through its Qt side ----

struct WindowsCase {
    const char *name;
    windows::WallpaperOutcome outcome;
    bool ok;
    const char *error;
};

class WindowsOutcome : public ::testing::TestWithParam<WindowsCase>
{};

TEST_P(WindowsOutcome, PassesABackslashPathAndReportsEveryRefusal)
{
    std::wstring seen;
    WindowsWallpaper backend([&](const wchar_t *path) {
        seen = path;
        return GetParam().outcome;
    });
    EXPECT_FALSE(backend.needsFreshPath());
    QString error;
    EXPECT_EQ(backend.set(QStringLiteral("C:/Users/张三/source/DeskTopBG/Mix.bmp"), &error),
              GetParam().ok);
    EXPECT_EQ(seen, std::wstring(L"C:\\Users\\张三\\source\\DeskTopBG\\Mix.bmp"));
    EXPECT_EQ(error, QString::fromUtf8(GetParam().error));
}

const WindowsCase kWindowsCases[] = {
    {"Done", {windows::WallpaperStep::Done, 0}, true, ""},
    {"KeyNotOpened",
     {windows::WallpaperStep::OpenKey, 5},
     false,
     "无法打开注册表项“HKEY_CURRENT_USER\\Control Panel\\Desktop”（错误代码 5）"},
    {"WallpaperValueRefused",
     {windows::WallpaperStep::WriteWallpaper, 5},
     false,
     "无法写入注册表值“Wallpaper”（错误代码 5）"},
    {"StyleValueRefused",
     {windows::WallpaperStep::WriteStyle, 1021},
     false,
     "无法写入注册表值“WallpaperStyle”（错误代码 1021）"},
    {"TileValueRefused",
     {windows::WallpaperStep::WriteTile, 5},
     false,
     "无法写入注册表值“TileWallpaper”（错误代码 5）"},
    {"SystemRefusedThePicture",
     {windows::WallpaperStep::Apply, 2},
     false,
     "系统拒绝了新的桌面壁纸（错误代码 2）"},
};

INSTANTIATE_TEST_SUITE_P(Outcomes, WindowsOutcome, ::testing::ValuesIn(kWindowsCases),
                         [](const auto &p) { return std::string(p.param.name); });

} // namespace

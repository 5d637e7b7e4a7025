#pragma once

#include "wallpaper/desktop/DesktopWallpaper.h"

#include <memory>

namespace tevuna {

// GNOME and the desktops that share its settings (Unity, Budgie), Cinnamon and MATE: the
// background keys of one GSettings schema, written with the gsettings tool.
class GSettingsWallpaper : public DesktopWallpaper
{
public:
    struct Schema {
        QString desktopName; // for messages: "GNOME"
        QString id;          // org.gnome.desktop.background
        QString pictureKey;  // picture-uri or picture-filename
        bool pictureIsUri;   // a file:// URI rather than a plain path
        QString darkKey;     // the key dark mode reads, or empty
    };
    static Schema gnome();
    static Schema cinnamon();
    static Schema mate();

    GSettingsWallpaper(Schema schema, std::shared_ptr<CommandRunner> runner);
    bool set(const QString &path, QString *error) override;

    // A string in the text form gsettings parses: quoted, with \ and ' escaped.
    static QString variantText(const QString &value);
    // The string gsettings prints as a GVariant text (single quotes, or double quotes when it
    // holds a single quote, with backslash escapes); empty for anything else.
    static QString parseVariantString(const QString &text);

private:
    bool write(const QString &key, const QString &value, QString *error);
    // The key's value as gsettings reads it back; false when it cannot be read.
    bool read(const QString &key, QString *value, QString *error);

    Schema m_schema;
    std::shared_ptr<CommandRunner> m_runner;
};

} // namespace tevuna

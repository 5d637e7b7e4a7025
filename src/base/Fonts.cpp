#include "base/Fonts.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

namespace tevuna {

void installFontSubstitutions()
{
    const QStringList serif{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                            QStringLiteral("DejaVu Serif")};
    const QStringList sans{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")};
    const QStringList latin{QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), serif);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), serif);
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"), sans);
    QFont::insertSubstitutions(QStringLiteral("Microsoft YaHei"), sans);
    QFont::insertSubstitutions(QStringLiteral("幼圆"), sans);
    QFont::insertSubstitutions(QStringLiteral("黑体"), sans);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), sans);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), latin);
    QFont::insertSubstitutions(QStringLiteral("Arial"), latin);
    QFont::insertSubstitutions(QStringLiteral("Arial Black"), latin);

    // The system's default face draws Han characters from whichever CJK face the font
    // configuration ranks first, Japanese ones on many systems.
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QFont font = QApplication::font();
        font.setFamilies({QStringLiteral("Microsoft YaHei")});
        QApplication::setFont(font);
    }
}

QFont pixelFont(const QString &family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace tevuna

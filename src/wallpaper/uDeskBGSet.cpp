#include "wallpaper/uDeskBGSet.h"

#include "base/Reporter.h"
#include "wallpaper/Picture.h"
#include "wallpaper/uGlobal.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace tevuna {

namespace {

constexpr QSize kCardSize(230, 420);
const QColor kCardBorder(255, 255, 218);
constexpr int kHeaderX[7] = {10, 40, 70, 100, 130, 160, 190};
constexpr int kDayX[7] = {13, 43, 73, 103, 133, 163, 193};
// The memo's rectangle: left 10, top 180, right 220, bottom 410.
constexpr QRect kMemoRect(10, 180, 210, 230);

const char *const kMonthNames[12] = {"January  ",   "February  ", "March  ",    "April  ",
                                     "May  ",       "June  ",     "July  ",     "August  ",
                                     "September  ", "October  ",  "November  ", "December  "};

QFont cardFont()
{
    // 10 points at 96 dpi; Chinese comes from a Simplified Chinese face, not a Japanese one.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(13);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// Text whose top-left corner is at (x, y).
void drawAt(QPainter &p, int x, int y, const QString &text)
{
    p.drawText(QRect(x, y, kCardSize.width(), 20), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace

QImage drawContentImage(const QStringList &memoLines, const QDate &date)
{
    QImage card(kCardSize, QImage::Format_RGB888);
    card.fill(Qt::white);
    QPainter p(&card);
    p.setPen(kCardBorder);
    p.drawRect(0, 0, kCardSize.width() - 1, kCardSize.height() - 1);
    p.setFont(cardFont());
    p.setPen(Qt::black);

    drawAt(p, 10, 10,
           QString::fromLatin1(kMonthNames[date.month() - 1]) +
               QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0')));
    static const char16_t header[] = u"日一二三四五六";
    for (int c = 0; c < 7; ++c)
        drawAt(p, kHeaderX[c], 30, QString(QChar(header[c])));

    int column = date.addDays(1 - date.day()).dayOfWeek() % 7; // 0 = Sunday
    int row = 0;
    for (int d = 1; d <= date.daysInMonth(); ++d) {
        drawAt(p, kDayX[column], 50 + 20 * row, QString::number(d));
        if (column == 6) {
            column = 0;
            ++row;
        } else {
            ++column;
        }
    }

    QString text;
    for (const QString &line : memoLines)
        text += line + QLatin1Char('\n');
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    p.setClipRect(kMemoRect);
    p.drawText(kMemoRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    p.end();
    return card;
}

TDeskBGSetFrm::TDeskBGSetFrm() : contentPath(picturePath(QStringLiteral("Content.bmp"))) {}

void TDeskBGSetFrm::RenderContentImage()
{
    writeBmp(drawContentImage(memoLines, contentDate.date()), contentPath);
}

bool TDeskBGSetFrm::LoadBackground(const QString &path)
{
    const QImage image = readPicture(path);
    if (image.isNull()) {
        Reporter::current().message(
            QStringLiteral("加载失败！壁纸图片“%1”无法读取，下次换用列表中的下一张。")
                .arg(QFileInfo(path).fileName()));
        return false;
    }
    imgPicBG = image;
    return true;
}

bool TDeskBGSetFrm::LoadContent(const QString &path)
{
    const QImage image = readPicture(path);
    if (image.isNull()) {
        Reporter::current().message(QStringLiteral("加载失败！"));
        return false;
    }
    imgPicMix = image;
    return true;
}

} // namespace tevuna

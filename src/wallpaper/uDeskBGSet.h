#pragma once

#include <QDateTime>
#include <QImage>
#include <QStringList>

namespace tevuna {

// The notes card: the month of the content date and the memo text, 230 x 420 pixels.
QImage drawContentImage(const QStringList &memoLines, const QDate &contentDate);

// The composition state of the notes on the desktop, kept for the life of the application.
class TDeskBGSetFrm
{
public:
    TDeskBGSetFrm();

    // Draws the card and writes it as Content.bmp. Raises AppError when it cannot be written.
    void RenderContentImage();
    // Load a picture into its holder; on failure "加载失败！" is shown and the holder keeps
    // the picture it had. False on failure.
    bool LoadBackground(const QString &path);
    bool LoadContent(const QString &path);

    QString backgroundPath;
    QString contentPath;
    QStringList memoLines;
    QDateTime contentDate;
    QImage imgPicBG;
    QImage imgPicMix;
    // The transparency slider's position, which nothing changes: the mixing number is it + 2.
    int transparencyPosition = 2;
};

} // namespace tevuna

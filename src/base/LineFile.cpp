#include "base/LineFile.h"

#include "base/AppError.h"
#include "base/Gbk.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace tevuna::linefile {

QStringList split(const QByteArray &bytes)
{
    const QString text = gbk::decode(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QByteArray join(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += gbk::encode(line);
        out += "\r\n";
    }
    return out;
}

QStringList read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    return split(file.readAll());
}

void write(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    const QByteArray bytes = join(lines);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace tevuna::linefile

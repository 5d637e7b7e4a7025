#include "base/AppError.h"

#include <limits>

namespace tevuna {

AppError::AppError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}

int strToInt(const QString &text)
{
    const auto fail = [&]() -> int {
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    };
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return fail();
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return fail();
        value = value * 10 + (c.unicode() - '0');
        // One past INT_MAX is still needed for INT_MIN.
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return fail();
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return fail();
    return int(value);
}

const QString &lineAt(const QStringList &lines, qsizetype index)
{
    if (index < 0 || index >= lines.size())
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return lines[index];
}

} // namespace tevuna

#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace tevuna {

// A failure that ends the current step and goes to the default error report.
// The text is what the user reads, exactly as raised.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString &text);
    QString text() const { return m_text; }

private:
    QString m_text;
};

// Decimal integer with an optional sign and leading blanks, 32-bit range.
// Raises "'%s' is not a valid integer value" otherwise.
int strToInt(const QString &text);

// lines[index], raising "List index out of bounds (%d)" when there is no such line.
const QString &lineAt(const QStringList &lines, qsizetype index);

} // namespace tevuna

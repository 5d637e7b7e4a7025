#pragma once

#include "base/Reporter.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Readable failures: gtest prints Qt strings as text, not as arrays of code units.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << '"' << b.toStdString() << '"';
}

namespace tevuna::test {

// Records every message instead of showing it. Installed for every GUI test by the test main.
class RecordingReporter : public Reporter
{
public:
    void message(const QString &text) override { messages << text; }
    void error(const QString &text) override { errors << text; }
    void notice(const QString &text) override { notices << text; }
    void clear()
    {
        messages.clear();
        errors.clear();
        notices.clear();
    }

    QStringList messages;
    QStringList errors;
    QStringList notices;
};

RecordingReporter &reporter();

// A fresh application folder for one test, set as TEVUNA_HOME while it lives.
class TempHome
{
public:
    TempHome();
    ~TempHome();
    QString path(const QString &relative = {}) const;
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};

} // namespace tevuna::test

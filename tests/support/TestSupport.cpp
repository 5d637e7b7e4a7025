#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tevuna::test {

RecordingReporter &reporter()
{
    static RecordingReporter recorder;
    return recorder;
}

TempHome::TempHome()
    : m_previous(qgetenv("TEVUNA_HOME")), m_hadPrevious(qEnvironmentVariableIsSet("TEVUNA_HOME"))
{
    EXPECT_TRUE(m_dir.isValid());
    qputenv("TEVUNA_HOME", m_dir.path().toLocal8Bit());
}

TempHome::~TempHome()
{
    if (m_hadPrevious)
        qputenv("TEVUNA_HOME", m_previous);
    else
        qunsetenv("TEVUNA_HOME");
}

QString TempHome::path(const QString &relative) const
{
    return relative.isEmpty() ? m_dir.path() : QDir(m_dir.path()).filePath(relative);
}

void TempHome::writeFile(const QString &relative, const QByteArray &bytes) const
{
    const QString file = path(relative);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray TempHome::readFile(const QString &relative) const
{
    QFile f(path(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace tevuna::test

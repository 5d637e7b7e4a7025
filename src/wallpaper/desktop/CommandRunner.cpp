#include "wallpaper/desktop/CommandRunner.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/types.h>
#endif

namespace tevuna {

namespace {

// A program's complaint, short enough for a message box.
QString stderrText(QProcess &process)
{
    constexpr int kMaxChars = 600;
    QString text = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (text.size() > kMaxChars)
        text = text.left(kMaxChars) + QStringLiteral("…");
    return text;
}

QString withDetail(const QString &text, const QString &detail)
{
    return detail.isEmpty() ? text : text + QStringLiteral("：") + detail;
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

CommandRunner::~CommandRunner() = default;

ProcessRunner::ProcessRunner(int timeoutMs) : m_timeoutMs(timeoutMs) {}

bool ProcessRunner::run(const QString &program, const QStringList &arguments, QByteArray *output,
                        QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(m_timeoutMs)) {
        setError(error, QStringLiteral("无法运行“%1”：找不到该程序或无法启动").arg(program));
        return false;
    }
    if (!process.waitForFinished(m_timeoutMs)) {
        process.kill();
        process.waitForFinished(m_timeoutMs);
        setError(error, QStringLiteral("“%1”在 %2 秒内没有结束，已被终止")
                            .arg(program)
                            .arg(m_timeoutMs / 1000.0));
        return false;
    }
    if (process.exitStatus() == QProcess::CrashExit) {
        setError(error,
                 withDetail(QStringLiteral("“%1”异常退出").arg(program), stderrText(process)));
        return false;
    }
    if (process.exitCode() != 0) {
        setError(
            error,
            withDetail(
                QStringLiteral("“%1”执行失败（退出码 %2）").arg(program).arg(process.exitCode()),
                stderrText(process)));
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

bool ProcessRunner::startDetached(const QString &program, const QStringList &arguments, qint64 *pid,
                                  QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached(pid)) {
        setError(error, QStringLiteral("无法运行“%1”：找不到该程序或无法启动").arg(program));
        return false;
    }
    return true;
}

bool ProcessRunner::isRunning(qint64 pid, const QString &program)
{
#ifdef Q_OS_UNIX
    // Process ids are reused: the process must still run this program, and 0 or -1, which
    // would name whole groups, never do.
    if (pid <= 1)
        return false;
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return false;
    const QString name = QString::fromLocal8Bit(comm.readAll()).trimmed();
    if (name != QFileInfo(program).fileName().left(15)) // the kernel keeps 15 characters
        return false;
    // A client that has exited but is not yet reaped is no longer drawing.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    const qsizetype end = fields.lastIndexOf(')');
    return end < 0 || fields.mid(end + 2, 1) != "Z";
#else
    Q_UNUSED(pid);
    Q_UNUSED(program);
    return false;
#endif
}

void ProcessRunner::stopDetached(qint64 pid, const QString &program)
{
#ifdef Q_OS_UNIX
    if (isRunning(pid, program))
        ::kill(static_cast<pid_t>(pid), SIGTERM);
#else
    Q_UNUSED(pid);
    Q_UNUSED(program);
#endif
}

bool ProcessRunner::callSessionBus(const DBusCall &call, QVariant *reply, QString *error)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        setError(error,
                 withDetail(QStringLiteral("无法连接 D-Bus 会话总线"), bus.lastError().message()));
        return false;
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(call.service, call.path, call.interface, call.method);
    message.setArguments(call.arguments);
    const QDBusMessage answer = bus.call(message, QDBus::Block, m_timeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage) {
        const QDBusError failure(answer);
        if (failure.type() == QDBusError::ServiceUnknown) {
            setError(error, QStringLiteral("D-Bus 会话总线上没有“%1”服务").arg(call.service));
        } else if (failure.type() == QDBusError::NoReply || failure.type() == QDBusError::Timeout) {
            setError(error, QStringLiteral("“%1”在 %2 秒内没有回应")
                                .arg(call.service)
                                .arg(m_timeoutMs / 1000.0));
        } else {
            setError(error,
                     withDetail(QStringLiteral("“%1”拒绝了请求").arg(call.service),
                                failure.message().isEmpty() ? failure.name() : failure.message()));
        }
        return false;
    }
    if (reply)
        *reply = answer.arguments().value(0);
    return true;
}

} // namespace tevuna

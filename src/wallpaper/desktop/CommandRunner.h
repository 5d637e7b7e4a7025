#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tevuna {

// A method call on the session bus.
struct DBusCall {
    QString service;
    QString path;
    QString interface;
    QString method;
    QVariantList arguments;
};

// Every program and bus call the wallpaper back ends make goes through this, so tests can
// record them instead. Programs always get an argument list, never a shell line: picture
// paths may hold spaces, quotes and Chinese.
class CommandRunner
{
public:
    virtual ~CommandRunner();
    // Runs a program to its end. False, with a reason for the user, when it cannot be
    // started, crashes, exits with a status other than 0 or runs past the time limit.
    virtual bool run(const QString &program, const QStringList &arguments, QByteArray *output,
                     QString *error) = 0;
    // Starts a program that keeps running after this one ends (a wallpaper client).
    virtual bool startDetached(const QString &program, const QStringList &arguments, qint64 *pid,
                               QString *error) = 0;
    // Stops a program started by startDetached, if that process id still is that program.
    virtual void stopDetached(qint64 pid, const QString &program) = 0;
    // True while that process id still runs that program.
    virtual bool isRunning(qint64 pid, const QString &program) = 0;
    // Calls a method on the session bus; false with a reason on an error reply, an absent
    // service, no bus or the time limit.
    virtual bool callSessionBus(const DBusCall &call, QVariant *reply, QString *error) = 0;
};

// The real runner: QProcess and the session bus, each call bounded by a time limit.
class ProcessRunner : public CommandRunner
{
public:
    explicit ProcessRunner(int timeoutMs = 10000);
    bool run(const QString &program, const QStringList &arguments, QByteArray *output,
             QString *error) override;
    bool startDetached(const QString &program, const QStringList &arguments, qint64 *pid,
                       QString *error) override;
    void stopDetached(qint64 pid, const QString &program) override;
    bool isRunning(qint64 pid, const QString &program) override;
    bool callSessionBus(const DBusCall &call, QVariant *reply, QString *error) override;

private:
    int m_timeoutMs;
};

} // namespace tevuna

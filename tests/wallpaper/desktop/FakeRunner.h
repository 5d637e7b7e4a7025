#pragma once

#include "wallpaper/desktop/CommandRunner.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

namespace tevuna::test {

// Records every command instead of running it; answers from a table the test fills in.
class FakeRunner : public CommandRunner
{
public:
    struct Reply {
        bool ok = true;
        QByteArray output;
        QString error;
    };

    bool run(const QString &program, const QStringList &arguments, QByteArray *output,
             QString *error) override
    {
        const QStringList command = QStringList{program} + arguments;
        commands << command;
        const Reply reply = respond ? respond(command) : Reply{};
        if (reply.ok && output)
            *output = reply.output;
        if (!reply.ok && error)
            *error = reply.error;
        return reply.ok;
    }

    bool startDetached(const QString &program, const QStringList &arguments, qint64 *pid,
                       QString *error) override
    {
        commands << (QStringList{program} + arguments);
        if (!startSucceeds) {
            *error = QStringLiteral("找不到程序");
            return false;
        }
        *pid = nextPid++;
        events << QStringLiteral("start %1").arg(*pid);
        return true;
    }

    void stopDetached(qint64 pid, const QString &program) override
    {
        events << QStringLiteral("stop %1 %2").arg(pid).arg(program);
    }

    bool isRunning(qint64 pid, const QString &) override { return !exited.contains(pid); }

    bool callSessionBus(const DBusCall &call, QVariant *reply, QString *error) override
    {
        busCalls << call;
        if (!busError.isEmpty()) {
            *error = busError;
            return false;
        }
        if (reply)
            *reply = busReply ? busReply(call) : QVariant();
        return true;
    }

    std::function<Reply(const QStringList &command)> respond;
    QList<QStringList> commands;
    QList<DBusCall> busCalls;
    QStringList events;
    QString busError;
    std::function<QVariant(const DBusCall &call)> busReply;
    bool startSucceeds = true;
    QList<qint64> exited; // started clients that have ended

    qint64 nextPid = 1000;
};

} // namespace tevuna::test

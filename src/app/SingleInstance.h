#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace tevuna {

// One editor per application folder: the first start holds a lock file in the data folder
// and listens on a local socket; a later start on the same folder asks that one to come to
// the front instead of opening the notes a second time. A lock left by a crashed process is
// taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &dataFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the folder's one editor.
    bool acquire();
    // Asks the running editor to show its window; false when it did not answer in time.
    bool activateRunning();

signals:
    // Another start on the same folder wants the window in front.
    void activationRequested();

private:
    void serve();

    QString m_folder;
    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
};

} // namespace tevuna

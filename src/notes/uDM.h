#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

namespace tevuna {

// The data module: owns the connection to the notes database Data/UserData.db,
// table UserCon(conIndex TEXT NOT NULL, data BLOB), one row per date key.
class TDM
{
public:
    // The database file of the application folder.
    static QString databasePath();
    // Creates a new, empty notes database with its table. Refuses to touch an existing file.
    static bool CreateDatabase(const QString &path, QString *error);

    explicit TDM(QString path = databasePath());
    ~TDM();
    TDM(const TDM &) = delete;
    TDM &operator=(const TDM &) = delete;

    // Opens the existing database; on failure shows "配置文件加载失败，请重试！" and gives false.
    // The file is never created, repaired or rewritten here.
    bool OpenDatabase();
    bool isOpen() const { return m_db != nullptr; }

    // The document of the first row of the key; an empty document when there is none.
    // False (with the reason) on any database error.
    bool loadMemoData(const QString &dateKey, QByteArray *document, QString *error = nullptr);
    // Updates the first row of the key, or inserts one, in one transaction.
    bool saveMemoData(const QString &dateKey, const QByteArray &document, QString *error = nullptr);

private:
    void close();

    QString m_path;
    sqlite3 *m_db = nullptr;
};

} // namespace tevuna

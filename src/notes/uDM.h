#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

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

    enum class SaveResult {
        Saved,
        Busy,     // another program holds the file for writing: try again later
        ReadOnly, // the file or its folder cannot be written
        Conflict, // the stored document is not the one expected: nothing was written
        Failed,
    };
    struct SaveOutcome {
        SaveResult result = SaveResult::Failed;
        // With Conflict: the document stored now (empty when there is none).
        QByteArray stored;
        QString error;
    };
    // Writes the document only while the stored one is still `expected` (no row counts as an
    // empty document); without an expectation, only while nothing or an empty document is
    // stored. Check and write are one transaction, so no other writer slips in between.
    SaveOutcome saveMemoDataIf(const QString &dateKey, const QByteArray &document,
                               const std::optional<QByteArray> &expected);

private:
    void close();
    SaveOutcome save(const QString &dateKey, const QByteArray &document, bool checked,
                     const std::optional<QByteArray> &expected);

    QString m_path;
    sqlite3 *m_db = nullptr;
};

} // namespace tevuna

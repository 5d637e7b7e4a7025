#include "notes/uDM.h"

#include "base/AppFolder.h"
#include "base/Reporter.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <memory>

namespace tevuna {

namespace {

// How long a statement waits for another process that holds the file. Every save runs on the
// window's thread: a memo that cannot be written this quickly stays pending and is retried.
constexpr int kBusyTimeoutMs = 50;
// Opening happens once, before any window is shown: it may wait longer for another program.
constexpr int kOpenBusyTimeoutMs = 3000;

constexpr const char *kSchema = "CREATE TABLE UserCon(conIndex TEXT NOT NULL, data BLOB);"
                                "CREATE INDEX UserConIndex ON UserCon(conIndex);";
constexpr const char *kSelectFirst =
    "SELECT rowid, data FROM UserCon WHERE conIndex = ?1 ORDER BY rowid LIMIT 1";
constexpr const char *kUpdate = "UPDATE UserCon SET data = ?1 WHERE rowid = ?2";
constexpr const char *kInsert = "INSERT INTO UserCon(conIndex, data) VALUES(?1, ?2)";

struct StatementDeleter {
    void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

QString lastError(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

bool exec(sqlite3 *db, const char *sql, QString *error)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    if (error)
        *error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

Statement prepare(sqlite3 *db, const char *sql, QString *error)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        if (error)
            *error = lastError(db);
        return {};
    }
    return Statement(raw);
}

void bindKey(sqlite3_stmt *s, int index, const QString &key)
{
    const QByteArray utf8 = key.toUtf8();
    sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void bindDocument(sqlite3_stmt *s, int index, const QByteArray &document)
{
    // A zero-length blob, not NULL: an emptied memo keeps its row with an empty document.
    sqlite3_bind_blob(s, index, document.constData(), int(document.size()), SQLITE_TRANSIENT);
}

} // namespace

QString TDM::databasePath()
{
    return appfolder::path(QStringLiteral("Data/UserData.db"));
}

bool TDM::CreateDatabase(const QString &path, QString *error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("file exists");
        return false;
    }
    sqlite3 *db = nullptr;
    const QByteArray file = path.toUtf8();
    // EXCLUSIVE is not an sqlite flag; the existence check above keeps an old file safe.
    int rc =
        sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    bool ok =
        rc == SQLITE_OK && exec(db, "PRAGMA journal_mode=WAL", error) && exec(db, kSchema, error);
    if (rc != SQLITE_OK && error)
        *error = QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(db);
    return ok;
}

TDM::TDM(QString path) : m_path(std::move(path)) {}

TDM::~TDM()
{
    close();
}

void TDM::close()
{
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

bool TDM::OpenDatabase()
{
    close();
    const auto fail = [this]() {
        close();
        Reporter::current().message(QStringLiteral("配置文件加载失败，请重试！"));
        return false;
    };
    // Never create: a missing file is a failure, not an invitation to start over.
    if (!QFileInfo(m_path).isFile())
        return fail();
    const QByteArray file = m_path.toUtf8();
    if (sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return fail();
    sqlite3_busy_timeout(m_db, kOpenBusyTimeoutMs);
    // Read the schema before anything may write, so a damaged or foreign file is refused
    // while it is still exactly as it was.
    if (!prepare(m_db, "SELECT conIndex, data FROM UserCon LIMIT 0", nullptr))
        return fail();
    // A saved memo must survive a crash or a power cut.
    if (!exec(m_db, "PRAGMA journal_mode=WAL", nullptr) ||
        !exec(m_db, "PRAGMA synchronous=FULL", nullptr))
        return fail();
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    return true;
}

bool TDM::loadMemoData(const QString &dateKey, QByteArray *document, QString *error)
{
    document->clear();
    if (!m_db) {
        if (error)
            *error = QStringLiteral("database not open");
        return false;
    }
    Statement s = prepare(m_db, kSelectFirst, error);
    if (!s)
        return false;
    bindKey(s.get(), 1, dateKey);
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_DONE)
        return true;
    if (rc != SQLITE_ROW) {
        if (error)
            *error = lastError(m_db);
        return false;
    }
    const void *blob = sqlite3_column_blob(s.get(), 1);
    const int size = sqlite3_column_bytes(s.get(), 1);
    if (blob && size > 0)
        *document = QByteArray(static_cast<const char *>(blob), size);
    return true;
}

bool TDM::saveMemoData(const QString &dateKey, const QByteArray &document, QString *error)
{
    SaveOutcome outcome = save(dateKey, document, false, std::nullopt);
    if (error)
        *error = outcome.error;
    return outcome.result == SaveResult::Saved;
}

TDM::SaveOutcome TDM::saveMemoDataIf(const QString &dateKey, const QByteArray &document,
                                     const std::optional<QByteArray> &expected)
{
    return save(dateKey, document, true, expected);
}

TDM::SaveOutcome TDM::save(const QString &dateKey, const QByteArray &document, bool checked,
                           const std::optional<QByteArray> &expected)
{
    SaveOutcome out;
    if (!m_db) {
        out.error = QStringLiteral("database not open");
        return out;
    }
    const auto fail = [this, &out](int rc) {
        const int primary = rc & 0xff;
        out.result =
            primary == SQLITE_BUSY || primary == SQLITE_LOCKED ? SaveResult::Busy
            : primary == SQLITE_READONLY || primary == SQLITE_PERM || primary == SQLITE_CANTOPEN
                ? SaveResult::ReadOnly
                : SaveResult::Failed;
        out.error = lastError(m_db);
        if (!sqlite3_get_autocommit(m_db))
            exec(m_db, "ROLLBACK", nullptr);
        return out;
    };
    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return fail(rc);
    Statement find = prepare(m_db, kSelectFirst, nullptr);
    if (!find)
        return fail(sqlite3_errcode(m_db));
    bindKey(find.get(), 1, dateKey);
    rc = sqlite3_step(find.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return fail(rc);
    if (checked) {
        QByteArray stored;
        if (rc == SQLITE_ROW) {
            const void *blob = sqlite3_column_blob(find.get(), 1);
            const int size = sqlite3_column_bytes(find.get(), 1);
            if (blob && size > 0)
                stored = QByteArray(static_cast<const char *>(blob), size);
        }
        if (expected ? stored != *expected : !stored.isEmpty()) {
            find.reset();
            exec(m_db, "ROLLBACK", nullptr);
            out.result = SaveResult::Conflict;
            out.stored = stored;
            return out;
        }
    }
    Statement write;
    if (rc == SQLITE_ROW) {
        const sqlite3_int64 rowid = sqlite3_column_int64(find.get(), 0);
        write = prepare(m_db, kUpdate, nullptr);
        if (!write)
            return fail(sqlite3_errcode(m_db));
        bindDocument(write.get(), 1, document);
        sqlite3_bind_int64(write.get(), 2, rowid);
    } else {
        write = prepare(m_db, kInsert, nullptr);
        if (!write)
            return fail(sqlite3_errcode(m_db));
        bindKey(write.get(), 1, dateKey);
        bindDocument(write.get(), 2, document);
    }
    find.reset();
    rc = sqlite3_step(write.get());
    if (rc != SQLITE_DONE)
        return fail(rc);
    write.reset();
    rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return fail(rc);
    out.result = SaveResult::Saved;
    return out;
}

} // namespace tevuna

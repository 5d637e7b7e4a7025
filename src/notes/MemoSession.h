#pragma once

#include "notes/uDM.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>

class QTextDocument;

namespace tevuna {

// The dated memo the memo box shows: the date key it was loaded for, whether that load
// failed, memos that could not be saved yet, and the check that no save replaces a memo that
// was changed elsewhere since it was loaded. It holds no widget: the window installs the
// documents it hands out and passes the shown one back to save.
class MemoSession
{
public:
    explicit MemoSession(TDM &dm);

    struct Loaded {
        // Always a fresh document with an empty undo stack: undo never reaches the memo of
        // another date. Modified only when it holds a memo that is still waiting to be saved.
        std::unique_ptr<QTextDocument> document;
        bool ok = false;
    };
    // Reads the memo of the key. A failed load gives an empty document and is remembered:
    // nothing is saved under the key until the user edits the box.
    Loaded load(const QString &dateKey);

    // Saves the shown document under the key it was loaded for if the user changed it since
    // it was loaded or last saved, then retries the memos still pending, stopping at the first
    // that finds the database busy so no action waits more than one short attempt. When the
    // stored memo had changed elsewhere, both texts are kept in one document, which is
    // returned for the box to show; otherwise null.
    std::unique_ptr<QTextDocument> save(QTextDocument &shown);
    // Retries the pending memos only.
    void retryPending();

    QString loadedKey() const { return m_key; }
    bool loadFailed() const { return m_failed; }
    bool hasUnsaved() const { return !m_pending.isEmpty(); }
    // Set by a successful load and at the end of every save; the auto-save waits for it.
    bool contentLoaded() const { return m_contentLoaded; }

private:
    struct Pending {
        QByteArray document;
        // What was stored when the memo was loaded; none when that load failed.
        std::optional<QByteArray> baseline;
    };
    enum class Trouble { None, Busy, ReadOnly, Failed, Conflict };

    // One attempt to store a memo; a memo changed elsewhere is merged with ours and stored in
    // its place. Gives the result and, after a merge, the merged document.
    TDM::SaveResult store(const QString &key, Pending &memo,
                          std::unique_ptr<QTextDocument> *merged);
    void tell(Trouble trouble, const QString &key);
    void retry(bool *busy);

    TDM &m_dm;
    QString m_key;
    bool m_failed = false;
    bool m_contentLoaded = false;
    std::optional<QByteArray> m_baseline;
    QMap<QString, Pending> m_pending;
    Trouble m_told = Trouble::None;
};

} // namespace tevuna

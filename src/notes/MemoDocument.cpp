#include "notes/MemoDocument.h"

#include "base/Gbk.h"
#include "notes/RtfCodec.h"

#include <QTextDocument>

namespace tevuna::memodoc {

QByteArray encode(const QTextDocument &document)
{
    return rtf::write(document);
}

bool decode(const QByteArray &bytes, QTextDocument *document)
{
    if (bytes.isEmpty()) {
        document->clear();
        return true;
    }
    // Stored documents are RTF; anything else is plain text in code page 936.
    if (rtf::looksLikeRtf(bytes) && rtf::read(bytes, document))
        return true;
    document->setPlainText(gbk::decode(bytes));
    return true;
}

} // namespace tevuna::memodoc

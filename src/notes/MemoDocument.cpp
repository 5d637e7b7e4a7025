#include "notes/MemoDocument.h"

#include "base/Gbk.h"

#include <QTextDocument>

namespace tevuna::memodoc {

QByteArray encode(const QTextDocument &document)
{
    return gbk::encode(document.toPlainText());
}

bool decode(const QByteArray &bytes, QTextDocument *document)
{
    if (bytes.isEmpty()) {
        document->clear();
        return true;
    }
    document->setPlainText(gbk::decode(bytes));
    return true;
}

} // namespace tevuna::memodoc

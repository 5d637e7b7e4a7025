// Memo documents come from the database and from pasted or imported notes: any bytes must
// load as far as they are readable, and what was read must write and read back the same.
#include "notes/RtfCodec.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    const QByteArray bytes =
        QByteArray("{\\rtf1") + QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument doc;
    if (!tevuna::rtf::read(bytes, &doc))
        std::abort();
    const QByteArray written = tevuna::rtf::write(doc);
    QTextDocument again;
    if (!tevuna::rtf::read(written, &again) || again.toPlainText() != doc.toPlainText())
        std::abort();
    return 0;
}

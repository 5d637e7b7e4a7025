#include "base/Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tevuna::gbk {

namespace {

constexpr const char *kCodec = "GB18030";

#ifdef Q_OS_WIN
// Qt built without ICU has no GB18030 codec; Windows has one as code page 54936.
constexpr UINT kCodePage = 54936;

QByteArray encodeWithWindows(const QString &text)
{
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int n =
        WideCharToMultiByte(kCodePage, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray out(n, Qt::Uninitialized);
    WideCharToMultiByte(kCodePage, 0, wide, int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

QString decodeWithWindows(const QByteArray &bytes)
{
    const int n =
        MultiByteToWideChar(kCodePage, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString out(n, Qt::Uninitialized);
    MultiByteToWideChar(kCodePage, 0, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t *>(out.data()), n);
    return out;
}
#endif

} // namespace

QByteArray encode(const QString &text)
{
    QStringEncoder encoder(kCodec);
#ifdef Q_OS_WIN
    if (!encoder.isValid())
        return encodeWithWindows(text);
#endif
    Q_ASSERT(encoder.isValid());
    return encoder.encode(text);
}

Encoder::Encoder() : m_encoder(kCodec) {}

QByteArray Encoder::operator()(const QString &text)
{
    if (!m_encoder.isValid())
        return encode(text);
    m_encoder.resetState();
    return m_encoder.encode(text);
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodec);
#ifdef Q_OS_WIN
    if (!decoder.isValid())
        return decodeWithWindows(bytes);
#endif
    Q_ASSERT(decoder.isValid());
    return decoder.decode(bytes);
}

} // namespace tevuna::gbk

#include "base/Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <iterator>

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

// Characters GB18030 writes as two bytes where code page 936 has a private-use character at
// those bytes (GB18030-2005 gave them real code points), and the euro sign, which code page
// 936 has as the single byte 80. Read off ICU's windows-936 table; a test keeps it true.
constexpr char16_t kNotInCp936[][2] = {
    {0x01F9, 0x01F9}, {0x1E3F, 0x1E3F}, {0x20AC, 0x20AC}, {0x2E81, 0x2E81}, {0x2E84, 0x2E84},
    {0x2E88, 0x2E88}, {0x2E8B, 0x2E8C}, {0x2E97, 0x2E97}, {0x2EA7, 0x2EA7}, {0x2EAA, 0x2EAA},
    {0x2EAE, 0x2EAE}, {0x2EB3, 0x2EB3}, {0x2EB6, 0x2EB7}, {0x2EBB, 0x2EBB}, {0x2ECA, 0x2ECA},
    {0x2FF0, 0x2FFB}, {0x303E, 0x303E}, {0x3447, 0x3447}, {0x3473, 0x3473}, {0x359E, 0x359E},
    {0x360E, 0x360E}, {0x361A, 0x361A}, {0x3918, 0x3918}, {0x396E, 0x396E}, {0x39CF, 0x39D0},
    {0x39DF, 0x39DF}, {0x3A73, 0x3A73}, {0x3B4E, 0x3B4E}, {0x3C6E, 0x3C6E}, {0x3CE0, 0x3CE0},
    {0x4056, 0x4056}, {0x415F, 0x415F}, {0x4337, 0x4337}, {0x43AC, 0x43AC}, {0x43B1, 0x43B1},
    {0x43DD, 0x43DD}, {0x44D6, 0x44D6}, {0x464C, 0x464C}, {0x4661, 0x4661}, {0x4723, 0x4723},
    {0x4729, 0x4729}, {0x477C, 0x477C}, {0x478D, 0x478D}, {0x4947, 0x4947}, {0x497A, 0x497A},
    {0x497D, 0x497D}, {0x4982, 0x4983}, {0x4985, 0x4986}, {0x499B, 0x499B}, {0x499F, 0x499F},
    {0x49B6, 0x49B7}, {0x4C77, 0x4C77}, {0x4C9F, 0x4CA3}, {0x4D13, 0x4D19}, {0x4DAE, 0x4DAE},
};

bool notInCp936(char16_t u)
{
    const auto *end = std::end(kNotInCp936);
    const auto *it = std::partition_point(std::begin(kNotInCp936), end,
                                          [u](const auto &range) { return range[1] < u; });
    return it != end && (*it)[0] <= u;
}

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

QByteArray Encoder::cp936(QStringView one)
{
    if (one.size() != 1)
        return {}; // every character beyond the BMP is four bytes in GB18030
    const QChar c = one.front();
    if (c.category() == QChar::Other_PrivateUse || notInCp936(c.unicode()))
        return {};
    QByteArray bytes = (*this)(one.toString());
    return bytes.size() == 2 ? bytes : QByteArray();
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

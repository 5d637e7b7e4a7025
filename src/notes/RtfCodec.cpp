#include "notes/RtfCodec.h"

#include "base/Gbk.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tevuna::rtf {

namespace {

// Deeper groups than this are read as if flat: their text still arrives, the stack does not grow.
constexpr int kMaxDepth = 256;
// A numeric parameter has at most this many digits; longer ones are clamped.
constexpr int kMaxDigits = 10;
// Font sizes as half-points, within what an editor offers.
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;
// A picture's data beyond this is not kept: no memo needs a bigger one.
constexpr qsizetype kMaxPictureBytes = 16 * 1024 * 1024;
constexpr qint64 kMaxPicturePixels = 40'000'000;
// Twips per pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;
// Pictures read from a memo are named so; the name only has to be unique in its document.
constexpr QLatin1StringView kImageScheme("memo-image");

// ---------------------------------------------------------------- writing

void appendEscapedAscii(QByteArray &out, char c)
{
    if (c == '\\' || c == '{' || c == '}')
        out += '\\';
    out += c;
}

// GBK bytes as \'hh, or \uN? for characters GBK does not have.
void appendText(QByteArray &out, const QString &text)
{
    static thread_local gbk::Encoder encoder;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u == '\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator || u == '\n' || u == '\r') {
            out += "\\line ";
        } else if (u == QChar::Nbsp) {
            out += "\\~";
        } else if (u >= 0x20 && u < 0x7f) {
            appendEscapedAscii(out, char(u));
        } else if (u < 0x20) {
            continue; // control characters have no place in a memo
        } else {
            const bool pair =
                c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            const QStringView one = QStringView(text).mid(i, pair ? 2 : 1);
            const QByteArray bytes = encoder.cp936(one);
            if (!bytes.isEmpty()) {
                for (const char b : bytes)
                    out += QByteArrayLiteral("\\'") +
                           QByteArray::number(uchar(b), 16).rightJustified(2, '0');
            } else {
                for (const QChar unit : one)
                    out += "\\u" + QByteArray::number(qint16(unit.unicode())) + '?';
            }
            if (pair)
                ++i;
        }
    }
}

struct Tables {
    QStringList fonts;
    QList<QColor> colors; // 1-based in the document: index 0 is "auto"

    int font(const QString &family)
    {
        qsizetype i = fonts.indexOf(family);
        if (i < 0) {
            fonts << family;
            i = fonts.size() - 1;
        }
        return int(i);
    }
    int color(const QColor &c)
    {
        qsizetype i = colors.indexOf(c);
        if (i < 0) {
            colors << c;
            i = colors.size() - 1;
        }
        return int(i) + 1;
    }
};

QByteArray fragmentControls(const QTextCharFormat &f, Tables &tables)
{
    QByteArray c;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) {
        const int font = tables.font(families.first());
        if (font != 0)
            c += "\\f" + QByteArray::number(font);
    }
    if (f.fontPointSize() > 0)
        c += "\\fs" + QByteArray::number(std::clamp(int(std::lround(f.fontPointSize() * 2)),
                                                    kMinHalfPoints, kMaxHalfPoints));
    if (f.fontWeight() >= QFont::Bold)
        c += "\\b";
    if (f.fontItalic())
        c += "\\i";
    if (f.fontUnderline())
        c += "\\ul";
    if (f.fontStrikeOut())
        c += "\\strike";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        c += "\\cf" + QByteArray::number(tables.color(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        c += "\\highlight" + QByteArray::number(tables.color(f.background().color()));
    return c;
}

// A picture in the document as PNG, the form every RTF reader of our time shows; nothing
// when its image cannot be had (a web address, a file since removed).
QByteArray pictureGroup(const QTextDocument &document, const QTextImageFormat &f)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(f.name()));
    QImage image;
    if (resource.metaType() == QMetaType::fromType<QImage>())
        image = resource.value<QImage>();
    else if (resource.canConvert<QImage>())
        image = qvariant_cast<QImage>(resource);
    if (image.isNull() && resource.metaType() == QMetaType::fromType<QByteArray>())
        image.loadFromData(resource.toByteArray());
    if (image.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    const int width = f.width() > 0 ? int(std::lround(f.width())) : image.width();
    const int height = f.height() > 0 ? int(std::lround(f.height())) : image.height();
    QByteArray out = "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
                     QByteArray::number(image.height()) + "\\picwgoal" +
                     QByteArray::number(width * kTwipsPerPixel) + "\\pichgoal" +
                     QByteArray::number(height * kTwipsPerPixel) + "\r\n";
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        out += hex.mid(i, 128) + "\r\n";
    out += '}';
    return out;
}

// ---------------------------------------------------------------- reading

enum class Destination { Text, FontTable, ColorTable, Picture, Skip };

struct State {
    Destination destination = Destination::Text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int halfPoints = 0; // 0: the document's own size
    int foreground = 0;
    int background = 0;
    int font = -1;
    int unicodeSkip = 1;
    bool hidden = false;
    // After \dbch: the associated properties (\ab, \ai, \afs) are those of Chinese text.
    bool eastAsian = false;
    // Inside an object or a field, whose shown result is text again.
    bool hasResult = false;
    // Right after \*: a destination we read may still follow.
    bool starred = false;
};

// The picture being read, from \pict to the end of its group.
struct Picture {
    QByteArray format; // "png", "jpeg", or empty for kinds we do not show
    QByteArray data;
    int high = -1;                     // a hex digit waiting for its pair
    int widthGoal = 0, heightGoal = 0; // twips
    int scaleX = 100, scaleY = 100;    // per cent

    void addHex(char c)
    {
        const int v = QByteArray::fromRawData(&c, 1).toInt(nullptr, 16);
        if (high < 0) {
            high = v;
        } else {
            if (data.size() < kMaxPictureBytes)
                data += char(high * 16 + v);
            high = -1;
        }
    }
};

// The code page of an RTF font charset; 0 where the document's own code page applies.
int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 0; // 1 default, 2 symbol, 255 OEM
    }
}

QString decodeCodePage(int codePage, const QByteArray &bytes)
{
    if (codePage == 936)
        return gbk::decode(bytes);
    const QByteArray name =
        codePage == 10000 ? QByteArray("macintosh") : "windows-" + QByteArray::number(codePage);
    QStringDecoder decoder(name.constData());
    if (decoder.isValid())
        return decoder.decode(bytes);
#ifdef Q_OS_WIN
    const int n =
        MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    if (n > 0) {
        QString out(n, Qt::Uninitialized);
        MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), int(bytes.size()),
                            reinterpret_cast<wchar_t *>(out.data()), n);
        return out;
    }
#endif
    return gbk::decode(bytes);
}

class Reader
{
public:
    Reader(const QByteArray &bytes, QTextDocument *document)
        : m_in(bytes), m_document(document), m_cursor(document)
    {}

    void run();

private:
    void flushText();
    void flushBytes();
    void addText(const QString &text);
    void addDecoded(const QString &text);
    void breakParagraph();
    void startParagraphIfPending();
    void endPicture();
    void controlWord(const QByteArray &word, bool hasParam, int param);
    QTextCharFormat format() const;
    QString decodeBytes(const QByteArray &bytes) const;

    const QByteArray &m_in;
    qsizetype m_pos = 0;
    QTextDocument *m_document;
    QTextCursor m_cursor;
    std::vector<State> m_stack{State{}};
    int m_depth = 0;     // real nesting, which may run past the stack
    QByteArray m_bytes;  // \'hh bytes waiting to be decoded together (GBK pairs)
    QString m_text;      // text waiting for insertion in the current format
    int m_skipChars = 0; // characters still to skip after \uN
    bool m_pendingParagraph = false;
    int m_pendingCells = 0; // cells ended, shown as tabs once more of the row follows
    Picture m_picture;
    int m_pictures = 0;
    int m_codePage = 936;
    int m_defaultFont = 0;
    // Font tables.
    QHash<int, QString> m_fontNames;
    QHash<int, int> m_fontCharsets;
    int m_tableFont = -1;
    QString m_tableText;
    QList<QColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;
};

State &top(std::vector<State> &stack)
{
    return stack.back();
}

QString Reader::decodeBytes(const QByteArray &bytes) const
{
    const State &s = m_stack.back();
    int codePage = m_codePage;
    // A font's charset says how its bytes are encoded: a WordPad memo from a Western system
    // has Chinese in a charset 134 font under code page 1252.
    const int font = s.destination == Destination::FontTable ? m_tableFont
                     : s.font >= 0                           ? s.font
                                                             : m_defaultFont;
    const auto charset = m_fontCharsets.constFind(font);
    if (charset != m_fontCharsets.cend()) {
        const int fontCodePage = codePageOfCharset(*charset);
        // Chinese writers leave GBK bytes under Western fonts: under code page 936 they are GBK.
        if (fontCodePage != 0 && !(fontCodePage == 1252 && codePage == 936))
            codePage = fontCodePage;
    }
    return decodeCodePage(codePage, bytes);
}

void Reader::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    const QString text = decodeBytes(m_bytes);
    m_bytes.clear();
    addDecoded(text);
}

QTextCharFormat Reader::format() const
{
    const State &s = m_stack.back();
    QTextCharFormat f;
    // The default font is the memo box's own: only other fonts are kept on the text.
    if (s.font >= 0 && s.font != m_defaultFont && m_fontNames.contains(s.font))
        f.setFontFamilies({m_fontNames.value(s.font)});
    if (s.halfPoints > 0)
        f.setFontPointSize(s.halfPoints / 2.0);
    if (s.bold)
        f.setFontWeight(QFont::Bold);
    if (s.italic)
        f.setFontItalic(true);
    if (s.underline)
        f.setFontUnderline(true);
    if (s.strike)
        f.setFontStrikeOut(true);
    // Entry 0 of the colour table is "auto": the memo box's own colour.
    if (s.foreground > 0 && s.foreground < m_colors.size() && m_colors[s.foreground].isValid())
        f.setForeground(m_colors[s.foreground]);
    if (s.background > 0 && s.background < m_colors.size() && m_colors[s.background].isValid())
        f.setBackground(m_colors[s.background]);
    return f;
}

void Reader::flushText()
{
    flushBytes();
    if (m_text.isEmpty())
        return;
    m_cursor.insertText(m_text, format());
    m_text.clear();
}

void Reader::addText(const QString &text)
{
    // Bytes waiting for decoding come first: text always arrives in document order.
    flushBytes();
    addDecoded(text);
}

void Reader::addDecoded(const QString &text)
{
    const State &s = m_stack.back();
    if (s.destination == Destination::FontTable) {
        m_tableText += text;
        return;
    }
    if (s.destination != Destination::Text || s.hidden || text.isEmpty())
        return;
    startParagraphIfPending();
    // Control characters have no place in a memo, whichever way they were encoded.
    for (const QChar c : text)
        if (c.unicode() >= 0x20 || c == QLatin1Char('\t'))
            m_text += c;
}

// Before anything that shows: the paragraph a mark ended, then the cells before this one.
void Reader::startParagraphIfPending()
{
    if (m_pendingParagraph) {
        m_pendingParagraph = false;
        m_cursor.insertBlock(QTextBlockFormat(), format());
    }
    if (m_pendingCells > 0) {
        m_text += QString(m_pendingCells, QLatin1Char('\t'));
        m_pendingCells = 0;
    }
}

void Reader::breakParagraph()
{
    if (m_stack.back().destination != Destination::Text)
        return;
    flushText();
    // A paragraph mark ends its paragraph: a new one starts only if anything follows.
    if (m_pendingParagraph)
        m_cursor.insertBlock(QTextBlockFormat(), format());
    m_pendingParagraph = true;
}

void Reader::endPicture()
{
    Picture picture = std::exchange(m_picture, Picture{});
    if (picture.format.isEmpty() || picture.data.isEmpty())
        return;
    QBuffer buffer(&picture.data);
    QImageReader reader(&buffer, picture.format);
    // A header may claim any size: no memo picture is bigger than a large photo.
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > kMaxPicturePixels)
        return;
    const QImage image = reader.read();
    if (image.isNull())
        return;
    flushText();
    startParagraphIfPending();
    flushText();
    const QString name = kImageScheme + QLatin1Char(':') + QString::number(++m_pictures);
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    const int width = picture.widthGoal > 0 ? picture.widthGoal / kTwipsPerPixel : image.width();
    const int height =
        picture.heightGoal > 0 ? picture.heightGoal / kTwipsPerPixel : image.height();
    f.setWidth(std::max(1, width * std::clamp(picture.scaleX, 1, 1000) / 100));
    f.setHeight(std::max(1, height * std::clamp(picture.scaleY, 1, 1000) / 100));
    m_cursor.insertImage(f);
}

void Reader::controlWord(const QByteArray &word, bool hasParam, int param)
{
    static const QSet<QByteArray> skipped{
        "pict",         "object",    "stylesheet",    "info",      "header",
        "footer",       "headerl",   "headerr",       "headerf",   "footerl",
        "footerr",      "footerf",   "footnote",      "listtable", "listoverridetable",
        "generator",    "rsidtbl",   "xmlnstbl",      "themedata", "colorschememapping",
        "latentstyles", "datastore", "filetbl",       "revtbl",    "fldinst",
        "bkmkstart",    "bkmkend",   "field",         "pgdsctbl",  "mmathPr",
        "operator",     "author",    "title",         "company",   "comment",
        "nonshppict",   "blipuid",   "wgrffmtfilter", "docvar",    "userprops",
        "passwordhash"};
    State &s = top(m_stack);
    const bool on = !hasParam || param != 0;
    const bool starred = std::exchange(s.starred, false);

    if (s.destination == Destination::ColorTable) {
        if (word == "red") {
            m_red = std::clamp(param, 0, 255);
            m_colorSet = true;
        } else if (word == "green") {
            m_green = std::clamp(param, 0, 255);
            m_colorSet = true;
        } else if (word == "blue") {
            m_blue = std::clamp(param, 0, 255);
            m_colorSet = true;
        }
        return;
    }
    if (s.destination == Destination::FontTable) {
        if (word == "f" && hasParam) {
            m_tableFont = param;
            m_tableText.clear();
        } else if (word == "fcharset" && m_tableFont >= 0) {
            m_fontCharsets.insert(m_tableFont, param);
        } else if (skipped.contains(word) || word == "panose" || word == "falt") {
            flushBytes();
            s.destination = Destination::Skip;
        }
        return;
    }
    if (s.destination == Destination::Picture) {
        if (word == "pngblip")
            m_picture.format = "png";
        else if (word == "jpegblip")
            m_picture.format = "jpeg";
        else if (word == "picwgoal")
            m_picture.widthGoal = std::max(0, param);
        else if (word == "pichgoal")
            m_picture.heightGoal = std::max(0, param);
        else if (word == "picscalex")
            m_picture.scaleX = param;
        else if (word == "picscaley")
            m_picture.scaleY = param;
        else if (word == "emfblip" || word == "wmetafile" || word == "dibitmap" ||
                 word == "wbitmap" || word == "macpict")
            m_picture.format.clear();
        return;
    }
    if (s.destination == Destination::Skip) {
        if (s.hasResult && (word == "result" || word == "fldrslt"))
            s.destination = Destination::Text;
        // Word puts the picture for RTF readers in {\\*\\shppict{\\pict ...}}.
        else if (starred && word == "shppict" && m_stack.size() > 1 &&
                 m_stack[m_stack.size() - 2].destination == Destination::Text)
            s.destination = Destination::Text;
        return;
    }

    if (word == "pict") {
        flushText();
        s.destination = Destination::Picture;
        m_picture = Picture{};
    } else if (word == "object" || word == "field") {
        flushText();
        s.destination = Destination::Skip;
        s.hasResult = true;
    } else if (word == "fonttbl") {
        flushText();
        s.destination = Destination::FontTable;
    } else if (word == "colortbl") {
        flushText();
        s.destination = Destination::ColorTable;
        m_colors.clear();
        m_colorSet = false;
    } else if (skipped.contains(word)) {
        flushText();
        s.destination = Destination::Skip;
    } else if (word == "deff" && hasParam) {
        m_defaultFont = param;
    } else if (word == "ansicpg" && hasParam) {
        m_codePage = param;
    } else if (word == "par" || word == "sect" || word == "page") {
        breakParagraph();
    } else if (word == "cell" || word == "nestcell") {
        // A tab between cells; the row's last cell needs none.
        flushText();
        if (s.destination == Destination::Text)
            ++m_pendingCells;
    } else if (word == "row" || word == "nestrow") {
        m_pendingCells = 0;
        breakParagraph();
    } else if (word == "line") {
        addText(QString(QChar::LineSeparator));
    } else if (word == "tab") {
        addText(QStringLiteral("\t"));
    } else if (word == "emdash") {
        addText(QString(QChar(0x2014)));
    } else if (word == "endash") {
        addText(QString(QChar(0x2013)));
    } else if (word == "lquote") {
        addText(QString(QChar(0x2018)));
    } else if (word == "rquote") {
        addText(QString(QChar(0x2019)));
    } else if (word == "ldblquote") {
        addText(QString(QChar(0x201C)));
    } else if (word == "rdblquote") {
        addText(QString(QChar(0x201D)));
    } else if (word == "bullet") {
        addText(QString(QChar(0x2022)));
    } else if (word == "u" && hasParam) {
        const char16_t unit = char16_t(param < 0 ? param + 65536 : param);
        addText(QString(QChar(unit)));
        m_skipChars = s.unicodeSkip;
        return;
    } else {
        // Character formatting: the text so far keeps the format it had.
        flushText();
        if (word == "b")
            s.bold = on;
        else if (word == "i")
            s.italic = on;
        else if (word == "ul")
            s.underline = on;
        else if (word == "ulnone")
            s.underline = false;
        else if (word == "strike")
            s.strike = on;
        else if (word == "fs" && hasParam)
            s.halfPoints = std::clamp(param, kMinHalfPoints, kMaxHalfPoints);
        else if (word == "cf")
            s.foreground = hasParam ? param : 0;
        else if (word == "highlight" || word == "cb" || word == "chcbpat")
            s.background = hasParam ? param : 0;
        else if (word == "f" && hasParam)
            s.font = param;
        else if (word == "uc" && hasParam)
            s.unicodeSkip = std::clamp(param, 0, 16);
        else if (word == "v")
            s.hidden = on;
        else if (word == "dbch")
            s.eastAsian = true;
        else if (word == "loch" || word == "hich" || word == "rtlch" || word == "ltrch")
            s.eastAsian = false;
        else if (s.eastAsian && word == "ab")
            s.bold = on;
        else if (s.eastAsian && word == "ai")
            s.italic = on;
        else if (s.eastAsian && word == "afs" && hasParam)
            s.halfPoints = std::clamp(param, kMinHalfPoints, kMaxHalfPoints);
        else if (word == "plain") {
            const State kept = s;
            s = State{};
            s.destination = kept.destination;
            s.unicodeSkip = kept.unicodeSkip;
            s.font = kept.font;
        }
    }
    m_skipChars = 0;
}

void Reader::run()
{
    const qsizetype n = m_in.size();
    while (m_pos < n) {
        const char c = m_in[m_pos];
        if (c == '{' || c == '}') {
            ++m_pos;
            m_skipChars = 0;
            if (c == '{') {
                flushBytes();
                ++m_depth;
                if (m_depth < kMaxDepth)
                    m_stack.push_back(m_stack.back());
            } else {
                const State &s = m_stack.back();
                if (s.destination == Destination::FontTable && m_tableFont >= 0 &&
                    m_depth < kMaxDepth) {
                    flushBytes();
                    QString name = m_tableText.trimmed();
                    if (name.endsWith(QLatin1Char(';')))
                        name.chop(1);
                    if (!name.isEmpty())
                        m_fontNames.insert(m_tableFont, name);
                    m_tableText.clear();
                } else {
                    flushText();
                }
                if (m_depth > 0) {
                    if (m_depth < kMaxDepth && m_stack.size() > 1) {
                        const bool picture = s.destination == Destination::Picture;
                        m_stack.pop_back();
                        if (picture && m_stack.back().destination != Destination::Picture)
                            endPicture();
                    }
                    --m_depth;
                }
                if (m_depth == 0)
                    break; // the document's own group has ended
            }
            continue;
        }
        if (c == '\\') {
            ++m_pos;
            if (m_pos >= n)
                break;
            const char d = m_in[m_pos];
            if (std::isalpha(uchar(d))) {
                const qsizetype start = m_pos;
                while (m_pos < n && std::isalpha(uchar(m_in[m_pos])) && m_pos - start < 32)
                    ++m_pos;
                const QByteArray word = m_in.mid(start, m_pos - start);
                bool hasParam = false;
                bool negative = false;
                qint64 value = 0;
                if (m_pos < n && m_in[m_pos] == '-') {
                    negative = true;
                    ++m_pos;
                }
                int digits = 0;
                while (m_pos < n && std::isdigit(uchar(m_in[m_pos]))) {
                    if (digits++ < kMaxDigits)
                        value = value * 10 + (m_in[m_pos] - '0');
                    hasParam = true;
                    ++m_pos;
                }
                if (m_pos < n && m_in[m_pos] == ' ')
                    ++m_pos;
                value = std::min<qint64>(value, std::numeric_limits<int>::max());
                const int param = int(negative ? -value : value);
                if (word == "bin") {
                    // Raw bytes follow: data, never text or control words.
                    const qsizetype length =
                        std::min<qsizetype>(hasParam && param > 0 ? param : 0, n - m_pos);
                    if (m_stack.back().destination == Destination::Picture &&
                        m_picture.data.size() + length <= kMaxPictureBytes)
                        m_picture.data += m_in.mid(m_pos, length);
                    m_pos += length;
                    if (m_skipChars > 0)
                        --m_skipChars;
                    continue;
                }
                if (m_skipChars > 0 && word != "u") {
                    // A control word counts as one of the characters after \uN.
                    --m_skipChars;
                    continue;
                }
                flushBytes();
                controlWord(word, hasParam, param);
                continue;
            }
            ++m_pos;
            switch (d) {
            case '\'': {
                int v = -1;
                if (m_pos + 1 < n) {
                    bool ok = false;
                    v = m_in.mid(m_pos, 2).toInt(&ok, 16);
                    if (!ok)
                        v = -1;
                    else
                        m_pos += 2;
                }
                if (m_skipChars > 0) {
                    --m_skipChars;
                } else if (v >= 0) {
                    const State &s = m_stack.back();
                    if (s.destination == Destination::Text ||
                        s.destination == Destination::FontTable)
                        m_bytes += char(v);
                }
                break;
            }
            case '*':
                flushText();
                top(m_stack).destination = Destination::Skip;
                top(m_stack).starred = true;
                break;
            case '~':
                addText(QString(QChar::Nbsp));
                break;
            case '_':
                addText(QStringLiteral("-"));
                break;
            case '\r':
            case '\n':
                breakParagraph();
                break;
            case '\\':
            case '{':
            case '}':
                if (m_skipChars > 0) {
                    --m_skipChars;
                } else {
                    flushBytes();
                    addText(QString(QLatin1Char(d)));
                }
                break;
            default:
                break; // \- optional hyphen, \| and others carry no text
            }
            continue;
        }
        ++m_pos;
        if (m_stack.back().destination == Destination::Picture) {
            if (std::isxdigit(uchar(c)))
                m_picture.addHex(c);
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        if (m_stack.back().destination == Destination::ColorTable) {
            if (c == ';') {
                m_colors << (m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
                m_red = m_green = m_blue = 0;
                m_colorSet = false;
            }
            continue;
        }
        if (m_skipChars > 0) {
            --m_skipChars;
            continue;
        }
        if (uchar(c) >= 0x80) {
            // Raw 8-bit text: some writers leave GBK bytes unescaped.
            m_bytes += c;
            continue;
        }
        flushBytes();
        if (c == '\t')
            addText(QStringLiteral("\t"));
        else if (uchar(c) >= 0x20)
            addText(QString(QLatin1Char(c)));
    }
    flushText();
}

} // namespace

bool looksLikeRtf(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

QByteArray write(const QTextDocument &document)
{
    Tables tables;
    // Font 0 is the default, the memo box's own face.
    tables.fonts << QStringLiteral("宋体");
    QByteArray body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                for (const QChar c : fragment.text())
                    if (c == QChar::ObjectReplacementCharacter)
                        body += pictureGroup(document, format.toImageFormat());
                continue;
            }
            const QByteArray controls = fragmentControls(format, tables);
            if (controls.isEmpty()) {
                appendText(body, fragment.text());
            } else {
                body += '{' + controls + ' ';
                appendText(body, fragment.text());
                body += '}';
            }
        }
        body += "\\par\r\n";
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052";
    out += "{\\fonttbl";
    for (int i = 0; i < tables.fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset134 ";
        appendText(out, tables.fonts[i]);
        out += ";}";
    }
    out += "}\r\n";
    if (!tables.colors.isEmpty()) {
        out += "{\\colortbl ;";
        for (const QColor &c : tables.colors)
            out += "\\red" + QByteArray::number(c.red()) + "\\green" +
                   QByteArray::number(c.green()) + "\\blue" + QByteArray::number(c.blue()) + ';';
        out += "}\r\n";
    }
    out += "\\viewkind4\\uc1\\pard\\lang2052\\f0 ";
    out += body;
    out += "}\r\n";
    return out;
}

bool read(const QByteArray &bytes, QTextDocument *document)
{
    if (!looksLikeRtf(bytes))
        return false;
    document->clear();
    Reader reader(bytes, document);
    reader.run();
    return true;
}

} // namespace tevuna::rtf

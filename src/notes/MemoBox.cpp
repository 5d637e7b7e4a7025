#include "notes/MemoBox.h"

#include "base/DateText.h"
#include "base/Fonts.h"
#include "base/Reporter.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>

namespace tevuna {

namespace {
const QColor kDesignColor(192, 220, 192);

// Qt's wrap at word boundaries (or anywhere) takes time quadratic in a run without a break
// opportunity: a megabyte of one word froze the box for minutes. Paragraphs longer than
// this are wrapped anywhere, in linear time.
constexpr int kLongParagraphChars = 10000;

QTextOption::WrapMode wrapModeFor(const QTextDocument &document)
{
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        if (b.length() > kLongParagraphChars)
            return QTextOption::WrapAnywhere;
    return QTextOption::WrapAtWordBoundaryOrAnywhere;
}

qsizetype longestLine(const QString &text)
{
    qsizetype longest = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i)
        if (i == text.size() || text[i] == QLatin1Char('\n') ||
            text[i] == QChar::ParagraphSeparator) {
            longest = std::max(longest, i - start);
            start = i + 1;
        }
    return longest;
}
} // namespace

MemoBox::MemoBox(QWidget *parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("rdtAbc"));
    setFrameShape(QFrame::NoFrame);
    setAcceptRichText(true);
    // A line without a break opportunity (a pasted URL, a megabyte of one word) still wraps,
    // instead of being laid out as one endless line.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setFont(pixelFont(QStringLiteral("宋体"), 15));
    setSchemeColor({});

    pmDeskTopMonCal = new QMenu(this);
    pmDeskTopMonCal->setObjectName(QStringLiteral("pmDeskTopMonCal"));
    const auto add = [this](const char *name, const QString &caption, auto handler) {
        QAction *a = pmDeskTopMonCal->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    N1 = add("N1", QStringLiteral("复制"), [this] { copy(); });
    N2 = add("N2", QStringLiteral("粘贴"), [this] { paste(); });
    N9 = add("N9", QStringLiteral("删除"), [this] { textCursor().removeSelectedText(); });
    N3 = add("N3", QStringLiteral("剪切"), [this] { cut(); });
    pmDeskTopMonCal->addSeparator()->setObjectName(QStringLiteral("N6"));
    V1 = add("V1", QStringLiteral("打V"), [this] { insertAtCaret(QStringLiteral("√")); });
    X1 = add("X1", QStringLiteral("打X"), [this] { insertAtCaret(QStringLiteral("×")); });
    pmDeskTopMonCal->addSeparator()->setObjectName(QStringLiteral("N5"));
    CtrlZ1 = add("CtrlZ1", QStringLiteral("撤销(Ctrl+Z)"), [this] { undo(); });
}

void MemoBox::setMemoDocument(QTextDocument *document)
{
    // The wrap mode applies to the document shown: change it while the smaller or the
    // quicker one is shown, so no long paragraph is laid out the slow way.
    const QTextOption::WrapMode mode = wrapModeFor(*document);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(mode);
    document->setDefaultTextOption(option);
    if (mode == QTextOption::WrapAnywhere)
        setWordWrapMode(mode);
    setDocument(document);
    setWordWrapMode(mode);
}

bool MemoBox::makeRoomFor(qsizetype insertedParagraphChars)
{
    const QTextCursor cursor = textCursor();
    const qsizetype selected = cursor.selectionEnd() - cursor.selectionStart();
    const qsizetype length = cursor.block().length() - 1 - selected + insertedParagraphChars;
    if (length > kMaxParagraphChars) {
        Reporter::current().notice(
            QStringLiteral("一段文字最多十万字，这次输入没有加入。请按回车键分段后再输入。"));
        return false;
    }
    if (length > kLongParagraphChars && wordWrapMode() != QTextOption::WrapAnywhere)
        setWordWrapMode(QTextOption::WrapAnywhere);
    return true;
}

bool MemoBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

// A copied picture goes into the document itself, so it is stored with the memo.
void MemoBox::insertFromMimeData(const QMimeData *source)
{
    const QImage image = source->hasImage() && !source->hasHtml()
                             ? qvariant_cast<QImage>(source->imageData())
                             : QImage();
    if (image.isNull()) {
        if (makeRoomFor(longestLine(source->text())))
            QTextEdit::insertFromMimeData(source);
        return;
    }
    const QUrl name(QStringLiteral("pasted-image:%1").arg(++m_pastedImages));
    document()->addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(image.width());
    format.setHeight(image.height());
    QTextCursor cursor = textCursor();
    cursor.insertImage(format);
    setTextCursor(cursor);
}

void MemoBox::insertAtCaret(const QString &text)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
}

void MemoBox::colourSelection(const QColor &color)
{
    QTextCharFormat format;
    format.setForeground(color);
    QTextCursor cursor = textCursor();
    cursor.mergeCharFormat(format);
    mergeCurrentCharFormat(format);
}

void MemoBox::commitPreedit()
{
    if (m_preedit.isEmpty())
        return;
    if (hasFocus())
        QGuiApplication::inputMethod()->commit();
    // An input method that did not answer the commit: keep what it showed all the same.
    if (!m_preedit.isEmpty()) {
        const QString text = m_preedit;
        QInputMethodEvent commit;
        commit.setCommitString(text);
        inputMethodEvent(&commit);
    }
}

void MemoBox::setSchemeColor(const QColor &color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, color.isValid() ? color : kDesignColor);
    setPalette(pal);
}

QString MemoBox::dateStamp(const QDate &date)
{
    return QStringLiteral(" %1 (%2)")
        .arg(date.toString(QStringLiteral("yyyy.MM.dd")), weekdayChar(date));
}

void MemoBox::contextMenuEvent(QContextMenuEvent *event)
{
    pmDeskTopMonCal->popup(event->globalPos());
}

void MemoBox::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    // Its own menu is not leaving the memo box.
    if (event->reason() != Qt::PopupFocusReason)
        emit exited();
}

void MemoBox::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool inserts = !text.isEmpty() && !isReadOnly() &&
                         (text[0].unicode() >= 0x20 || text[0] == QLatin1Char('\t')) &&
                         text[0].unicode() != 0x7f;
    if (inserts && !makeRoomFor(text.size())) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void MemoBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty() && !makeRoomFor(event->commitString().size())) {
        // The composition ends either way; its text does not go in.
        QInputMethodEvent ended;
        m_preedit.clear();
        QTextEdit::inputMethodEvent(&ended);
        return;
    }
    m_preedit = event->preeditString();
    QTextEdit::inputMethodEvent(event);
}

} // namespace tevuna

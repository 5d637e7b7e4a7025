#include "notes/MemoBox.h"

#include "base/DateText.h"
#include "base/Fonts.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace tevuna {

namespace {
const QColor kDesignColor(192, 220, 192);
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

void MemoBox::inputMethodEvent(QInputMethodEvent *event)
{
    m_preedit = event->preeditString();
    QTextEdit::inputMethodEvent(event);
}

} // namespace tevuna

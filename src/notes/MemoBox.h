#pragma once

#include <QTextEdit>

#include <functional>

class QAction;
class QMenu;

namespace tevuna {

// The memo box: a rich-text editor with the edit menu and the insertion aids. It knows
// nothing of where its document is stored.
class MemoBox : public QTextEdit
{
    Q_OBJECT

public:
    explicit MemoBox(QWidget *parent = nullptr);

    // A paragraph grows no longer than this by typing or pasting: Qt lays a paragraph out
    // whole on every keystroke, and beyond it typing falls behind the user.
    static constexpr int kMaxParagraphChars = 100000;

    // Shows a memo's document (the box takes it), wrapped so that its longest paragraph
    // stays quick to lay out.
    void setMemoDocument(QTextDocument *document);

    // Replaces the selection at the caret (the last selection when the box has no focus).
    void insertAtCaret(const QString &text);
    // Gives the selection a text colour.
    void colourSelection(const QColor &color);
    // Puts what the input method is still composing into the text, so a save keeps it.
    void commitPreedit();
    // An input method is composing text in the box that is not in the document yet.
    bool isComposing() const { return !m_preedit.isEmpty(); }
    // The background of the memo box's scheme; invalid restores the design colour.
    void setSchemeColor(const QColor &color);

    // " 2010.06.01 (二)": the date button's text.
    static QString dateStamp(const QDate &date);

    QMenu *pmDeskTopMonCal = nullptr;
    QAction *N1 = nullptr;
    QAction *N2 = nullptr;
    QAction *N9 = nullptr;
    QAction *N3 = nullptr;
    QAction *V1 = nullptr;
    QAction *X1 = nullptr;
    QAction *CtrlZ1 = nullptr;

signals:
    // The box lost the keyboard focus to another control (not to its own menu).
    void exited();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // Before inserting text whose longest paragraph has this many characters at the caret:
    // false (and the user told) when the paragraph would grow past the limit.
    bool makeRoomFor(qsizetype insertedParagraphChars);

    QString m_preedit;
    int m_pastedImages = 0;
};

} // namespace tevuna

#pragma once

#include "base/WindowDrag.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tevuna {

class ImageLabel;

// "背景图片选择": adds, removes and picks the background pictures of Data/BGPicList.ini.
class TPicSelFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TPicSelFrm(QWidget *parent = nullptr);

    // The working copy of the current picture name; the main window reads it on close.
    QString selectedPicName;
    // Asks for a picture to add; empty when cancelled. Tests replace it.
    std::function<QString()> chooseFile;

    void btnAddClick();
    void btnRemoveClick();
    void btnOkClick();
    void img_close_highlightClick();

    // The captions of the list, in order.
    QStringList itemCaptions() const;

    ImageLabel *imgBG = nullptr;
    ImageLabel *img_close_normal = nullptr;
    ImageLabel *img_close_highlight = nullptr;
    ImageLabel *img_close_down = nullptr;
    QLabel *imgLogo = nullptr;
    QTreeWidget *LVpic = nullptr;
    QLabel *lblTishi = nullptr;
    QPushButton *btnRemove = nullptr;
    QPushButton *btnAdd = nullptr;
    QPushButton *btnOk = nullptr;
    QLabel *imgSel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void fillView(const QStringList &lines);
    void rewriteList();
    void showClose(ImageLabel *shown);

    WindowDrag m_drag;
};

} // namespace tevuna

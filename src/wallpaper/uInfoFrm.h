#pragma once

#include "base/WindowDrag.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tevuna {

// "您确定要更换壁纸？": asked before the wallpaper changes, until "下次不再提示" is confirmed.
class TInforFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TInforFrm(QWidget *parent = nullptr);

    // Shows the window modally, centred on its parent; the answer is in wallpaperGlobals().
    void Ask();

    void btnokClick();
    void btncancelClick();
    void btnCloseClick();

    QLabel *imgques = nullptr;
    QLabel *lblInfo = nullptr;
    QCheckBox *chkSetBgInfo = nullptr;
    QPushButton *btnok = nullptr;
    QPushButton *btncancel = nullptr;
    QPushButton *btnClose = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    WindowDrag m_drag;
};

} // namespace tevuna

// Qt's own texts in Chinese, and Han characters from a Simplified Chinese face in every
// window and popup of the program.
#include "app/Application.h"
#include "app/uMain.h"
#include "support/TestSupport.h"
#include "wallpaper/uInfoFrm.h"
#include "wallpaper/uPicSel.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace tevuna;

namespace {

bool simplifiedChinese(const QFont &font)
{
    const QString family = QFontInfo(font).family();
    return family.contains(QLatin1String("CJK SC")) || family.contains(QLatin1String("YaHei"));
}

TEST(ChineseUi, QtsOwnButtonsAndDialogsSpeakChinese)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    QStringList texts;
    for (const QLabel *label : files.findChildren<QLabel *>())
        texts << label->text();
    EXPECT_TRUE(texts.join(' ').contains(QStringLiteral("文件"))) << texts.join('|').toStdString();
    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    const auto *buttons = colours.findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
}

TEST(ChineseUi, EveryWindowAndPopupDrawsHanFromASimplifiedChineseFace)
{
    test::TempHome home;
    Application app;
    ASSERT_TRUE(app.start());
    app.mainForm()->show();
    QList<QWidget *> windows{app.mainForm(), app.picSelFrm(), app.inforFrm()};
    for (QWidget *w : QList<QWidget *>(windows))
        for (QMenu *menu : w->findChildren<QMenu *>())
            windows << menu;
    EXPECT_GE(windows.size(), 6) << "the options, memo, month and year menus";
    for (QWidget *w : windows)
        EXPECT_TRUE(simplifiedChinese(w->font()))
            << w->objectName().toStdString() << ' ' << w->metaObject()->className() << ": "
            << QFontInfo(w->font()).family().toStdString();
    EXPECT_TRUE(simplifiedChinese(QToolTip::font()))
        << QFontInfo(QToolTip::font()).family().toStdString();
    QMessageBox box;
    EXPECT_TRUE(simplifiedChinese(box.font()));
}

} // namespace

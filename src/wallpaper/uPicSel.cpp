#include "wallpaper/uPicSel.h"

#include "base/AppError.h"
#include "base/Artwork.h"
#include "base/Fonts.h"
#include "base/ImageLabel.h"
#include "base/LineFile.h"
#include "base/Reporter.h"
#include "wallpaper/Picture.h"
#include "wallpaper/uGlobal.h"

#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QWindow>

// Resources of a static library are registered by hand, outside any namespace.
void initWallpaperArtwork()
{
    Q_INIT_RESOURCE(wallpaper);
}

namespace tevuna {

namespace {

// A name in the picture folder that takes no file already there, for the copy and its BMP
// alike: "A1", then "A1(2)", "A1(3)" …
QString freeBaseName(const QString &base, const QString &suffix)
{
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1(%2)").arg(base).arg(n);
        if (!QFileInfo::exists(picturePath(name + QLatin1Char('.') + suffix)) &&
            !QFileInfo::exists(picturePath(name + QStringLiteral(".bmp"))))
            return name;
    }
}

void removeAll(const QStringList &paths)
{
    for (const QString &path : paths)
        QFile::remove(path);
}

} // namespace

TPicSelFrm::TPicSelFrm(QWidget *parent) : QDialog(parent)
{
    initWallpaperArtwork();
    setObjectName(QStringLiteral("PicSelFrm"));
    setWindowTitle(QStringLiteral("背景图片选择"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    setFixedSize(524, 286);

    imgBG = new ImageLabel(this);
    imgBG->setObjectName(QStringLiteral("imgBG"));
    imgBG->setGeometry(rect());
    imgBG->setPixmap(artwork(QStringLiteral(":/wallpaper/picsel_background.svg"), size()));
    // The background drags the window, by any button.
    connect(imgBG, &ImageLabel::mouseMoved, this, [this] {
        if (!m_drag.move(QGuiApplication::mouseButtons(), QCursor::pos()))
            showClose(img_close_normal);
    });
    connect(imgBG, &ImageLabel::mousePressed, this,
            [this](Qt::MouseButton button) { m_drag.press(this, button, QCursor::pos()); });
    connect(imgBG, &ImageLabel::released, this,
            [this] { m_drag.move(QGuiApplication::mouseButtons(), QCursor::pos()); });

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(5, 1, 200, 57);
    imgLogo->setPixmap(artwork(QStringLiteral(":/wallpaper/picsel_logo.svg"), imgLogo->size()));
    imgLogo->setAttribute(Qt::WA_TransparentForMouseEvents);

    const auto makeClose = [this](const char *name, const QColor &square, const QColor &cross) {
        auto *img = new ImageLabel(this);
        img->setObjectName(QString::fromLatin1(name));
        img->setGeometry(484, 0, 39, 20);
        img->setPixmap(drawClosePicture(square, cross));
        return img;
    };
    img_close_normal = makeClose("img_close_normal", QColor(216, 227, 243), Qt::darkGray);
    img_close_highlight = makeClose("img_close_highlight", QColor(232, 72, 72), Qt::white);
    img_close_down = makeClose("img_close_down", QColor(180, 40, 40), Qt::white);
    showClose(img_close_normal);
    connect(img_close_normal, &ImageLabel::mouseMoved, this,
            [this] { showClose(img_close_highlight); });
    connect(img_close_highlight, &ImageLabel::mousePressed, this, [this] {
        showClose(img_close_down);
        // Hiding the hover picture ends its mouse grab: the pressed picture takes it over, so
        // the release lands on it and completes the click.
        img_close_down->grabMouse();
    });
    connect(img_close_down, &ImageLabel::released, this, [this] { showClose(img_close_normal); });
    connect(img_close_down, &ImageLabel::clicked, this, &TPicSelFrm::img_close_highlightClick);
    connect(img_close_highlight, &ImageLabel::clicked, this, &TPicSelFrm::img_close_highlightClick);

    LVpic = new QTreeWidget(this);
    LVpic->setObjectName(QStringLiteral("LVpic"));
    LVpic->setGeometry(9, 56, 319, 160);
    LVpic->setFrameShape(QFrame::NoFrame);
    LVpic->setColumnCount(1);
    LVpic->setHeaderLabels({QStringLiteral("默认图片")});
    LVpic->setColumnWidth(0, 300);
    LVpic->setHeaderHidden(true);
    LVpic->setRootIsDecorated(false);
    LVpic->setSelectionMode(QAbstractItemView::SingleSelection);
    LVpic->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVpic->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVpic->setFont(pixelFont(QStringLiteral("宋体"), 12));

    // The runs of spaces place the line breaks, as the text was laid out for this label.
    lblTishi = new QLabel(QStringLiteral("注：可添加多个壁纸     大小1024*768以     上      "
                                         "                              图像格式：         "
                                         "                   BMP,JPG"),
                          this);
    lblTishi->setObjectName(QStringLiteral("lblTishi"));
    lblTishi->setGeometry(360, 64, 145, 153);
    lblTishi->setWordWrap(true);
    lblTishi->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTishi->setFont(pixelFont(QStringLiteral("幼圆"), 15));
    lblTishi->setAttribute(Qt::WA_TransparentForMouseEvents);

    const auto makeButton = [this](const char *name, const QString &caption, int left) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left, 240, 73, 21);
        b->setAutoDefault(false);
        return b;
    };
    btnRemove = makeButton("btnRemove", QStringLiteral("移  除"), 12);
    btnAdd = makeButton("btnAdd", QStringLiteral("添  加"), 108);
    btnOk = makeButton("btnOk", QStringLiteral("确  定"), 209);
    connect(btnRemove, &QPushButton::clicked, this, &TPicSelFrm::btnRemoveClick);
    connect(btnAdd, &QPushButton::clicked, this, &TPicSelFrm::btnAddClick);
    connect(btnOk, &QPushButton::clicked, this, &TPicSelFrm::btnOkClick);

    imgSel = new QLabel(this);
    imgSel->setObjectName(QStringLiteral("imgSel"));
    imgSel->move(408, 168);
    imgSel->hide();

    chooseFile = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(),
                                            QStringLiteral("(*.Bmp; *.JPG; *Gif) (*.bmp *.jpg "
                                                           "*.jpeg *.gif *.BMP *.JPG *.GIF)"));
    };
}

void TPicSelFrm::showClose(ImageLabel *shown)
{
    for (ImageLabel *img : {img_close_normal, img_close_highlight, img_close_down})
        img->setVisible(img == shown);
}

void TPicSelFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TPicSelFrm::FormShow()
{
    const QString path = picListPath();
    QStringList lines;
    if (QFileInfo::exists(path)) {
        try {
            lines = linefile::read(path);
        } catch (const AppError &) {
            return; // an unreadable list leaves the view as it was
        }
    } else {
        lines = defaultPicListLines();
        try {
            linefile::write(path, lines);
        } catch (const AppError &e) {
            reportError(e.text());
        }
    }
    if (lines.isEmpty())
        return;
    selectedPicName = lines.first();
    fillView(lines.mid(1));
}

void TPicSelFrm::fillView(const QStringList &lines)
{
    LVpic->clear();
    for (const QString &line : lines)
        LVpic->addTopLevelItem(new QTreeWidgetItem(QStringList{line}));
}

QStringList TPicSelFrm::itemCaptions() const
{
    QStringList captions;
    for (int i = 0; i < LVpic->topLevelItemCount(); ++i)
        captions << LVpic->topLevelItem(i)->text(0);
    return captions;
}

void TPicSelFrm::rewriteList()
{
    linefile::write(picListPath(), QStringList{selectedPicName} + itemCaptions());
}

// The picture is checked before anything is written, goes in under a name no file in the
// folder has, and a failure at any step takes back what this add wrote: a listed picture is
// never replaced and a refused one leaves nothing behind.
void TPicSelFrm::btnAddClick()
{
    const QString chosen = chooseFile ? chooseFile() : QString();
    if (chosen.isEmpty())
        return;
    const QFileInfo source(chosen);
    const QString ext = source.suffix().toLower();
    const bool converted =
        ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("gif");
    const QString failed = QStringLiteral("添加失败，请重试！");
    const QString unusable = QStringLiteral("添加背景图片异常，请重试！");
    Reporter &reporter = Reporter::current();
    if (!converted && ext != QLatin1String("bmp")) {
        reporter.message(unusable);
        return;
    }
    if (pictureTooLarge(chosen)) {
        reporter.message(QStringLiteral("图片太大，不能作为壁纸：%1。").arg(pictureBoundsText()));
        return;
    }
    const QImage image = readPicture(chosen);
    if (image.isNull()) {
        reporter.message(converted ? failed : unusable);
        return;
    }

    const QString base = freeBaseName(source.completeBaseName(), source.suffix());
    const QString bmpPath = picturePath(base + QStringLiteral(".bmp"));
    QStringList written;
    // JPEG and GIF pictures stay beside their BMP; a BMP is copied as it is.
    const QString copy =
        converted ? picturePath(base + QLatin1Char('.') + source.suffix()) : bmpPath;
    if (!QFile::copy(chosen, copy)) {
        reporter.message(failed);
        return;
    }
    written << copy;
    if (converted) {
        try {
            writeBmp(image, bmpPath);
            written << bmpPath;
        } catch (const AppError &) {
            removeAll(written);
            reporter.message(failed);
            return;
        }
    }
    const QImage trial = readPicture(bmpPath);
    if (trial.isNull()) {
        removeAll(written);
        reporter.message(unusable);
        return;
    }
    imgSel->setPixmap(QPixmap::fromImage(trial.scaled(64, 64, Qt::KeepAspectRatio)));
    auto *item = new QTreeWidgetItem(QStringList{QFileInfo(bmpPath).fileName()});
    LVpic->addTopLevelItem(item);
    try {
        rewriteList();
    } catch (const AppError &e) {
        delete item;
        removeAll(written);
        reportError(e.text());
    }
}

void TPicSelFrm::btnRemoveClick()
{
    const QList<QTreeWidgetItem *> selected = LVpic->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem *item = selected.first();
    const QString caption = item->text(0);
    if (caption == selectedPicName)
        selectedPicName = QStringLiteral("A1.bmp");
    // The default picture always stays, so the list is never left empty.
    if (caption != QLatin1String("A1.bmp"))
        delete item;
    try {
        rewriteList();
    } catch (const AppError &e) {
        reportError(e.text());
    }
}

void TPicSelFrm::btnOkClick()
{
    const QList<QTreeWidgetItem *> selected = LVpic->selectedItems();
    if (!selected.isEmpty() && selected.first()->text(0) != selectedPicName) {
        selectedPicName = selected.first()->text(0);
        try {
            rewriteList();
        } catch (const AppError &e) {
            reportError(e.text());
            return;
        }
    }
    close();
}

void TPicSelFrm::img_close_highlightClick()
{
    close();
}

} // namespace tevuna

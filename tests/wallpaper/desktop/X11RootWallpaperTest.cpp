// The root window back end on a real X server (Xvfb): the pixels on screen are read back.
#include "wallpaper/desktop/X11RootWallpaper.h"
#include "support/TestSupport.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace tevuna;

namespace {

int g_errors = 0;
int countError(Display *, XErrorEvent *)
{
    ++g_errors;
    return 0;
}

int lowestBit(unsigned long mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

class X11Root : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_display = XOpenDisplay(nullptr);
        ASSERT_NE(m_display, nullptr) << "no X server";
        m_root = DefaultRootWindow(m_display);
        m_visual = DefaultVisual(m_display, DefaultScreen(m_display));
        m_width = DisplayWidth(m_display, DefaultScreen(m_display));
        m_height = DisplayHeight(m_display, DefaultScreen(m_display));
    }
    void TearDown() override
    {
        if (m_display)
            XCloseDisplay(m_display);
    }

    // A small 24-bit BMP like Mix.bmp: the left half one colour, the right half another.
    QString picture(const QString &name, QColor left, QColor right)
    {
        QImage image(64, 48, QImage::Format_RGB888);
        QPainter painter(&image);
        painter.fillRect(0, 0, 32, 48, left);
        painter.fillRect(32, 0, 32, 48, right);
        painter.end();
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    Pixmap property(const char *name)
    {
        const Atom atom = XInternAtom(m_display, name, True);
        if (atom == 0)
            return 0;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char *data = nullptr;
        Pixmap pixmap = 0;
        if (XGetWindowProperty(m_display, m_root, atom, 0, 1, False, XA_PIXMAP, &type, &format,
                               &count, &remaining, &data) == Success &&
            data) {
            if (type == XA_PIXMAP && count == 1)
                pixmap = *reinterpret_cast<Pixmap *>(data);
            XFree(data);
        }
        return pixmap;
    }

    // The colour at (x, y) of a drawable, whatever the visual's depth.
    QColor colourAt(Drawable drawable, int x, int y)
    {
        XImage *image = XGetImage(m_display, drawable, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return {};
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        auto channel = [pixel](unsigned long mask) {
            const unsigned long maximum = mask >> lowestBit(mask);
            return static_cast<int>(((pixel & mask) >> lowestBit(mask)) * 255 / maximum);
        };
        return QColor(channel(m_visual->red_mask), channel(m_visual->green_mask),
                      channel(m_visual->blue_mask));
    }

    // Both halves of the screen, on the root window itself and in the announced pixmap.
    void expectScreen(QColor left, QColor right)
    {
        const Pixmap pixmap = property("_XROOTPMAP_ID");
        ASSERT_NE(pixmap, 0u);
        EXPECT_EQ(property("ESETROOT_PMAP_ID"), pixmap);
        const int y = m_height / 2;
        for (Drawable drawable : {static_cast<Drawable>(m_root), static_cast<Drawable>(pixmap)}) {
            EXPECT_EQ(colourAt(drawable, m_width / 8, y), left);
            EXPECT_EQ(colourAt(drawable, m_width * 7 / 8, y), right);
        }
    }

    bool exists(Pixmap pixmap)
    {
        g_errors = 0;
        const XErrorHandler previous = XSetErrorHandler(countError);
        Window rootOut = 0;
        int x = 0;
        int y = 0;
        unsigned width = 0;
        unsigned height = 0;
        unsigned border = 0;
        unsigned depth = 0;
        XGetGeometry(m_display, pixmap, &rootOut, &x, &y, &width, &height, &border, &depth);
        XSync(m_display, False);
        XSetErrorHandler(previous);
        return g_errors == 0;
    }

    QTemporaryDir m_dir;
    Display *m_display = nullptr;
    Window m_root = 0;
    Visual *m_visual = nullptr;
    int m_width = 0;
    int m_height = 0;
};

TEST_F(X11Root, TheScreenShowsThePictureStretchedAndThePreviousPixmapIsFreed)
{
    X11RootWallpaper backend;
    EXPECT_FALSE(backend.needsFreshPath());
    QString error;
    ASSERT_TRUE(backend.set(picture(QStringLiteral("壁纸 1.bmp"), Qt::red, Qt::blue), &error))
        << qPrintable(error);
    expectScreen(Qt::red, Qt::blue);
    const Pixmap first = property("_XROOTPMAP_ID");

    ASSERT_TRUE(backend.set(picture(QStringLiteral("Mix.bmp"), Qt::green, Qt::white), &error))
        << qPrintable(error);
    expectScreen(Qt::green, Qt::white);
    EXPECT_NE(property("_XROOTPMAP_ID"), first);
    EXPECT_FALSE(exists(first)) << "the first pixmap is still held by the server";
}

TEST_F(X11Root, APictureThatCannotBeReadLeavesTheScreenAsItWas)
{
    X11RootWallpaper backend;
    QString error;
    ASSERT_TRUE(backend.set(picture(QStringLiteral("Mix.bmp"), Qt::yellow, Qt::black), &error))
        << qPrintable(error);
    const Pixmap before = property("_XROOTPMAP_ID");

    const QString broken = m_dir.filePath(QStringLiteral("broken.bmp"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM not really a picture");
    file.close();
    EXPECT_FALSE(backend.set(broken, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("无法读取壁纸图片"))) << qPrintable(error);
    EXPECT_EQ(property("_XROOTPMAP_ID"), before);
    expectScreen(Qt::yellow, Qt::black);
}

TEST_F(X11Root, AnUnreachableDisplayIsReported)
{
    X11RootWallpaper backend(QStringLiteral(":99999"));
    QString error;
    EXPECT_FALSE(backend.set(picture(QStringLiteral("Mix.bmp"), Qt::yellow, Qt::black), &error));
    EXPECT_EQ(error, QStringLiteral("无法连接 X 显示服务器（:99999）"));
}

} // namespace

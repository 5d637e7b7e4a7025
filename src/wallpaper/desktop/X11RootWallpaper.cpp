#include "wallpaper/desktop/X11RootWallpaper.h"

#include <QImage>
#include <QImageReader>

#include <cstdlib>
#include <cstring>
#include <memory>

// Xlib defines macros such as None, Bool and Status: it comes after every Qt header.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tevuna {

namespace {

// Xlib reports protocol errors through one process-wide handler. While we work it records
// the first error instead of ending the program.
int g_firstError = 0;

int recordError(Display *, XErrorEvent *event)
{
    if (g_firstError == 0)
        g_firstError = event->error_code;
    return 0;
}

struct DisplayCloser {
    void operator()(Display *display) const { XCloseDisplay(display); }
};

// The pixmap a root window property names, or 0.
Pixmap pixmapProperty(Display *display, Window root, Atom property)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    Pixmap pixmap = 0;
    if (XGetWindowProperty(display, root, property, 0, 1, False, XA_PIXMAP, &type, &format, &count,
                           &remaining, &data) == Success &&
        data) {
        if (type == XA_PIXMAP && format == 32 && count == 1)
            pixmap = *reinterpret_cast<Pixmap *>(data);
        XFree(data);
    }
    return pixmap;
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

// A colour channel (0..255) placed into the bits of a true-colour visual's mask.
unsigned long channel(int value, unsigned long mask)
{
    const int shift = lowestBit(mask);
    const unsigned long maximum = mask >> shift;
    return ((static_cast<unsigned long>(value) * maximum + 127) / 255) << shift;
}

// Fills the server-side image with the picture, already the screen's size.
void fillImage(XImage *image, const QImage &picture, const Visual *visual)
{
    const bool plain32 = image->bits_per_pixel == 32 && visual->red_mask == 0xff0000 &&
                         visual->green_mask == 0xff00 && visual->blue_mask == 0xff;
    if (plain32) {
        // QImage's RGB32 pixels are exactly these, in the machine's byte order; Xlib
        // converts to the server's when it sends them.
        image->byte_order = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? LSBFirst : MSBFirst;
        for (int y = 0; y < picture.height(); ++y)
            std::memcpy(image->data + static_cast<qsizetype>(y) * image->bytes_per_line,
                        picture.constScanLine(y), static_cast<size_t>(picture.width()) * 4);
        return;
    }
    for (int y = 0; y < picture.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            XPutPixel(image, x, y,
                      channel(qRed(row[x]), visual->red_mask) |
                          channel(qGreen(row[x]), visual->green_mask) |
                          channel(qBlue(row[x]), visual->blue_mask));
    }
}

} // namespace

X11RootWallpaper::X11RootWallpaper(QString displayName) : m_displayName(std::move(displayName)) {}

bool X11RootWallpaper::set(const QString &path, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };

    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull())
        return fail(QStringLiteral("无法读取壁纸图片“%1”：%2").arg(path, reader.errorString()));

    const QByteArray name = m_displayName.toLocal8Bit();
    std::unique_ptr<Display, DisplayCloser> display(
        XOpenDisplay(m_displayName.isEmpty() ? nullptr : name.constData()));
    if (!display)
        return fail(
            QStringLiteral("无法连接 X 显示服务器（%1）")
                .arg(m_displayName.isEmpty() ? qEnvironmentVariable("DISPLAY") : m_displayName));
    Display *dpy = display.get();
    const int screen = DefaultScreen(dpy);
    const Window root = RootWindow(dpy, screen);
    const int width = DisplayWidth(dpy, screen);
    const int height = DisplayHeight(dpy, screen);
    const int depth = DefaultDepth(dpy, screen);
    Visual *visual = DefaultVisual(dpy, screen);
    if (visual->c_class != TrueColor)
        return fail(QStringLiteral("不支持此 X 显示器的颜色模式（需要真彩色）"));

    const QImage scaled =
        picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    XImage *image =
        XCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!image)
        return fail(QStringLiteral("无法为壁纸分配内存"));
    // XDestroyImage frees the pixels with free().
    image->data = static_cast<char *>(
        std::malloc(static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height)));
    if (!image->data) {
        XDestroyImage(image);
        return fail(QStringLiteral("无法为壁纸分配内存"));
    }
    fillImage(image, scaled, visual);

    g_firstError = 0;
    const XErrorHandler previousHandler = XSetErrorHandler(recordError);
    const Pixmap pixmap =
        XCreatePixmap(dpy, root, static_cast<unsigned>(width), static_cast<unsigned>(height),
                      static_cast<unsigned>(depth));
    GC gc = XCreateGC(dpy, pixmap, 0, nullptr);
    XPutImage(dpy, pixmap, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    XFreeGC(dpy, gc);
    XDestroyImage(image);
    XSync(dpy, False);
    if (g_firstError != 0) {
        XSetErrorHandler(previousHandler);
        return fail(QStringLiteral("X 显示服务器无法创建壁纸（错误代码 %1）").arg(g_firstError));
    }

    // A previous setter that followed this convention left its pixmap in both properties and
    // kept it alive with RetainPermanent; killing its (long gone) client frees it. A pixmap
    // in _XROOTPMAP_ID alone may belong to a running desktop, which must not be killed.
    const Atom rootAtom = XInternAtom(dpy, "_XROOTPMAP_ID", False);
    const Atom esetrootAtom = XInternAtom(dpy, "ESETROOT_PMAP_ID", False);
    const Pixmap oldRoot = pixmapProperty(dpy, root, rootAtom);
    const Pixmap oldEsetroot = pixmapProperty(dpy, root, esetrootAtom);
    if (oldRoot != 0 && oldRoot == oldEsetroot)
        XKillClient(dpy, oldRoot);
    XSync(dpy, False);
    g_firstError = 0; // the old client may already be gone: nothing to report

    XChangeProperty(dpy, root, rootAtom, XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(&pixmap), 1);
    XChangeProperty(dpy, root, esetrootAtom, XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(&pixmap), 1);
    XSetWindowBackgroundPixmap(dpy, root, pixmap);
    XClearWindow(dpy, root);
    XSetCloseDownMode(dpy, RetainPermanent);
    XSync(dpy, False);
    const int lastError = g_firstError;
    XSetErrorHandler(previousHandler);
    if (lastError != 0)
        return fail(QStringLiteral("X 显示服务器拒绝了新的壁纸（错误代码 %1）").arg(lastError));
    return true;
}

} // namespace tevuna

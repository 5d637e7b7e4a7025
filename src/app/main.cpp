#include "app/Application.h"
#include "app/SingleInstance.h"
#include "app/uMain.h"
#include "base/AppError.h"
#include "base/AppFolder.h"
#include "base/Fonts.h"
#include "base/QtTranslation.h"
#include "base/Reporter.h"

#include <QApplication>
#include <QTimer>

#include <exception>

namespace {

// An error that no handler catches reaches the default error report instead of ending the
// program: the user reads what went wrong and goes on.
class TevunaApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const tevuna::AppError &e) {
            tevuna::reportError(e.text());
        } catch (const std::exception &e) {
            tevuna::reportError(QString::fromLocal8Bit(e.what()));
        }
        return false;
    }
};

// TEVUNA_SCREENSHOT=<file.png>: once the main window has been painted, save a picture of it
// and end without saving anything. Used by the start script on machines without a display.
class ScreenshotOnFirstPaint : public QObject
{
public:
    ScreenshotOnFirstPaint(QWidget *window, QString path)
        : m_window(window), m_path(std::move(path))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, this, [this] {
                const bool ok = m_window->grab().save(m_path, "PNG");
                QCoreApplication::exit(ok ? 0 : 3);
            });
        }
        return false;
    }

private:
    QWidget *m_window;
    QString m_path;
    bool m_done = false;
};

} // namespace

int main(int argc, char *argv[])
{
    TevunaApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tevuna"));
    QApplication::setApplicationDisplayName(tevuna::applicationTitle());
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tevuna"));
    tevuna::installFontSubstitutions();
    tevuna::installQtTranslation();

    // A second start on the same folder would save over the first one's memos.
    tevuna::SingleInstance instance(tevuna::appfolder::path(QStringLiteral("Data")));
    if (!instance.acquire()) {
        if (!instance.activateRunning())
            tevuna::Reporter::current().message(QStringLiteral("Tevuna桌面日历已经在运行。"));
        return 0;
    }

    tevuna::Application app;
    if (!app.start())
        return 1;
    tevuna::TMainFrm *main = app.mainForm();
    QObject::connect(&instance, &tevuna::SingleInstance::activationRequested, main, [main] {
        main->showNormal();
        main->raise();
        main->activateWindow();
    });
    std::unique_ptr<ScreenshotOnFirstPaint> screenshot;
    const QString shotPath = qEnvironmentVariable("TEVUNA_SCREENSHOT");
    if (!shotPath.isEmpty())
        screenshot = std::make_unique<ScreenshotOnFirstPaint>(main, shotPath);
    main->show();
    return QApplication::exec();
}

#include "base/Reporter.h"

#include <QMessageBox>
#include <QTimer>

namespace tevuna {

namespace {
MessageBoxReporter messageBoxes;
Reporter *installed = nullptr;
} // namespace

Reporter::~Reporter() = default;

Reporter &Reporter::current()
{
    return installed ? *installed : messageBoxes;
}

void Reporter::install(Reporter *reporter)
{
    installed = reporter;
}

QString errorReportText(const QString &text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void reportError(const QString &text)
{
    Reporter::current().error(errorReportText(text));
}

QString applicationTitle()
{
    return QStringLiteral("Tevuna桌面日历");
}

void MessageBoxReporter::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

void MessageBoxReporter::error(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

void MessageBoxReporter::notice(const QString &text)
{
    // Non-modal and self-closing: a notice must never stop the user's typing.
    auto *box = new QMessageBox(QMessageBox::Warning, applicationTitle(), text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    QTimer::singleShot(8000, box, &QWidget::close);
}

} // namespace tevuna

#pragma once

#include <QString>

namespace tevuna {

// The one way a failure or a message reaches the user. The application shows message
// boxes; tests install a recorder instead, so no test ever waits on a dialog.
class Reporter
{
public:
    virtual ~Reporter();

    // A plain message box with a fixed text, captioned with the application title.
    virtual void message(const QString &text) = 0;
    // The default error report: the error's text, the application title, an error icon.
    virtual void error(const QString &text) = 0;
    // A short notice that must not block the user (shown once, dismissed by itself or a click).
    virtual void notice(const QString &text) = 0;

    static Reporter &current();
    // Installs a reporter (not owned); nullptr returns to message boxes.
    static void install(Reporter *reporter);
};

// The default error report of an unhandled failure: appends a full stop when the text's
// last character sorts after '.' (so a text ending in ")" gets none).
QString errorReportText(const QString &text);
void reportError(const QString &text);

// The application title, the caption of every message box.
QString applicationTitle();

class MessageBoxReporter : public Reporter
{
public:
    void message(const QString &text) override;
    void error(const QString &text) override;
    void notice(const QString &text) override;
};

} // namespace tevuna

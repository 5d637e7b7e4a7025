#pragma once

#include <QDateTime>

namespace tevuna {

// The local date and time. Tests install a fixed clock to live on a chosen day.
class Clock
{
public:
    virtual ~Clock();
    virtual QDateTime now() const = 0;

    // The clock in use: the system's unless one was installed.
    static const Clock &current();
    // Installs a clock (not owned); nullptr returns to the system clock.
    static void install(const Clock *clock);
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime when) : m_when(std::move(when)) {}
    QDateTime now() const override { return m_when; }
    void set(QDateTime when) { m_when = std::move(when); }

private:
    QDateTime m_when;
};

} // namespace tevuna

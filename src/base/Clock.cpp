#include "base/Clock.h"

namespace tevuna {

namespace {

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

const SystemClock systemClock;
const Clock *installed = nullptr;

} // namespace

Clock::~Clock() = default;

const Clock &Clock::current()
{
    return installed ? *installed : systemClock;
}

void Clock::install(const Clock *clock)
{
    installed = clock;
}

} // namespace tevuna

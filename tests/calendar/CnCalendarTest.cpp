#include "calendar/CnCalendar.h"

#include <gtest/gtest.h>

TEST(CnCalendar, HeaderCompiles) { SUCCEED(); }

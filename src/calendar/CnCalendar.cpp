#include "calendar/CnCalendar.h"

#include "hoursupkeep.h"

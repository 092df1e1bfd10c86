#include "workersstore.h"

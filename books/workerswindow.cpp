#include "workerswindow.h"

#include "workereditwindow.h"

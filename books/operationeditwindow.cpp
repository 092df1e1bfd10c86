#include "operationeditwindow.h"

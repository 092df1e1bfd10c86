#include "kindeditwindow.h"

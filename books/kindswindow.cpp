#include "kindswindow.h"

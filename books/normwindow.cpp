#include "normwindow.h"

#include "pricelistwindow.h"

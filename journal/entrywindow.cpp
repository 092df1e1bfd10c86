#include "entrywindow.h"

#include "hoursdialog.h"

#include "groupswindow.h"

#include "groupeditwindow.h"

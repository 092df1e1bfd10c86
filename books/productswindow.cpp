#include "productswindow.h"

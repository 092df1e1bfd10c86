#include "productsstore.h"

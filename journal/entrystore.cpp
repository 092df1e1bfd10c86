#include "entrystore.h"

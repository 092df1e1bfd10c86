#include "groupsstore.h"

#include "operationsstore.h"

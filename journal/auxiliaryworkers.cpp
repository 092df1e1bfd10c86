#include "auxiliaryworkers.h"

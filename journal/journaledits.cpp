#include "journaledits.h"

#include "kindsstore.h"

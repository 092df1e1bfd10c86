#include "hoursprompt.h"

#include "Frame.h"
#include "Paths.h"

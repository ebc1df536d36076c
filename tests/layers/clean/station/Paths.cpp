#include "Paths.h"

#include "Frame.h"

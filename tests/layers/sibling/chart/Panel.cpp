#include "Page.h"

#pragma once
#include "Window.h"

#include "ColorBtn.h"

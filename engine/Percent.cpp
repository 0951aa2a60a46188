#include "Percent.h"

#include "SpinTally.h"

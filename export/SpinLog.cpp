#include "SpinLog.h"

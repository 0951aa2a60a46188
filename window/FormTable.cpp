#include "FormTable.h"

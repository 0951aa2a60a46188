#include "Board.h"

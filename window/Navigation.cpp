#include "Navigation.h"

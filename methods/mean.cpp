#include "mean.h"

#include "colores.h"

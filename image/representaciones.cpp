#include "representaciones.h"

#include "cargador.h"

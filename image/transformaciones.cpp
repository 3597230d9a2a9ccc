#include "transformaciones.h"

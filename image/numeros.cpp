#include "numeros.h"

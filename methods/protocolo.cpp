#include "protocolo.h"

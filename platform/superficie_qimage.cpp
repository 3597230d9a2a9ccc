#include "superficie_qimage.h"

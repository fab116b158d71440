#include "VantuView.h"

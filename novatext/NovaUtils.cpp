#include "NovaUtils.h"

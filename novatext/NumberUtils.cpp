#include "NumberUtils.h"

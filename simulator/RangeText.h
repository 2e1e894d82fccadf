// The message of an address outside memory, with the highest address allowed (or the memory
// size) in the number base the user works in.
#pragma once
#include <QString>

#include "NumberUtils.h"

QString AddressOutOfRangeText(int Top, TNumMode Mode);

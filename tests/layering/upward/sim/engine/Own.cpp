#include "AsaApi/FString.h"
#include "sim/engine/Own.h"

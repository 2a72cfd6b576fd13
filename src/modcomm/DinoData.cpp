#include "modcomm/DinoData.h"

namespace ModComm {
void ReadDinoData() {}
}  // namespace ModComm

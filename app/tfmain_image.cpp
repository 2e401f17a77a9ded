// Handlers that build the flash image into a file.
#include "app/tfmain.h"

void TFmain::SaveBinBtnClick() {}

// Handlers that add, remove, reorder, save and load recordings.
#include "app/tfmain.h"

void TFmain::B_addClick() {}

void TFmain::B_delClick() {}

void TFmain::B_delallClick() {}

void TFmain::GetListBtnClick() {}

void TFmain::SaveListBtnClick() {}

void TFmain::sgridKeyDown(QKeyEvent *) {}

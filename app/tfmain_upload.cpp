// Handlers of the upload: starting it, the watchdog and its ends.
#include "app/tfmain.h"

void TFmain::B_recClick() {}

void TFmain::B_binClick() {}

void TFmain::Timer1Timer() {}

// Frees the worker of a finished upload; there is none until uploads arrive.
void TFmain::releaseWorker() {}

// Handlers of the preview: listening to the selected recording.
#include "app/tfmain.h"

void TFmain::StopPreview() {}

void TFmain::B_playClick() {}

void TFmain::sgridClick() {}

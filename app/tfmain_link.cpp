// Handlers of the port selector and the presence poll.
#include "app/tfmain.h"

#include "app/port_selector.h"

#include <QTimer>

void TFmain::ComSelectDropDown()
{
    Timer2->stop();
    port_->close();
    ComSelect->clear();
    SetIdleState();
}

void TFmain::ComSelectCloseUp() {}

void TFmain::Timer2Timer() {}

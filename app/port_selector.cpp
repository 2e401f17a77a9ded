#include "app/port_selector.h"

void PortSelector::showPopup()
{
    emit dropDown();
    QComboBox::showPopup();
}

void PortSelector::hidePopup()
{
    QComboBox::hidePopup();
    emit closeUp();
}

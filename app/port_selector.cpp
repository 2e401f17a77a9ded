#include "app/port_selector.h"

#include <QAbstractItemView>

void PortSelector::showPopup()
{
    emit dropDown();
    QComboBox::showPopup();
}

void PortSelector::hidePopup()
{
    // The combo box also calls this whenever it is hidden, as when its window
    // closes; only a list that was dropped down closes up.
    const bool droppedDown = view()->isVisible();
    QComboBox::hidePopup();
    if (droppedDown)
        emit closeUp();
}

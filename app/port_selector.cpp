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
    // closes; only a list that was dropped down closes up. It closes the list
    // before the item picked in it becomes current, so the close-up is
    // reported once the choice has taken effect.
    const bool droppedDown = view()->isVisible();
    QComboBox::hidePopup();
    if (droppedDown)
        QMetaObject::invokeMethod(this, &PortSelector::closeUp, Qt::QueuedConnection);
}

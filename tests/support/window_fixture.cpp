#include "tests/support/window_fixture.h"

#include "app/port_selector.h"

void WindowTest::dropDownPortList(const QStringList &ports)
{
    window->ComSelectDropDown();
    window->ComSelect->addItems(ports);
    window->ComSelect->setCurrentIndex(-1);
}

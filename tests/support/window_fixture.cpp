#include "tests/support/window_fixture.h"

#include "app/port_selector.h"

#include <QRadioButton>

bool connectWindowTo(TFmain &window, DeviceModel model, const QString &portName)
{
    (model == DeviceModel::Records32 ? window.RadioButton1 : window.RadioButton2)->setChecked(true);
    window.ComSelectDropDown();
    window.ComSelect->addItem(portName);
    window.ComSelect->setCurrentIndex(window.ComSelect->count() - 1);
    window.ComSelectCloseUp();
    for (int tick = 0; tick < 5 && window.deviceState() == 0; ++tick)
        window.Timer2Timer();
    return window.deviceState() != 0;
}

void WindowTest::dropDownPortList(const QStringList &ports)
{
    window->ComSelectDropDown();
    window->ComSelect->addItems(ports);
    window->ComSelect->setCurrentIndex(-1);
}

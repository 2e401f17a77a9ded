#pragma once

#include <QComboBox>

// A drop-down list without typing that reports when its list is about to
// drop down (so the list can be refilled first) and, once the choice made
// in it has taken effect, that it has closed.
class PortSelector : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;
    void hidePopup() override;

signals:
    void dropDown();
    void closeUp();
};

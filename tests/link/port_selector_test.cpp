#include "app/port_selector.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

TEST(PortSelector, ClosesUpOnlyAListThatWasDroppedDown)
{
    QWidget window;
    PortSelector selector(&window);
    selector.addItem(QStringLiteral("ttyS0"));
    int dropDowns = 0;
    int closeUps = 0;
    QObject::connect(&selector, &PortSelector::dropDown, [&] { ++dropDowns; });
    QObject::connect(&selector, &PortSelector::closeUp, [&] { ++closeUps; });
    window.show();

    selector.showPopup();
    selector.hidePopup();
    EXPECT_EQ(dropDowns, 1);
    EXPECT_EQ(closeUps, 1);

    window.hide();
    EXPECT_EQ(closeUps, 1);
}

// Destroying a window hides its selector after the window's own state is gone.
TEST_F(WindowTest, AShownWindowGoesWithoutRunningTheCloseUp)
{
    window->show();
    window.reset();
}

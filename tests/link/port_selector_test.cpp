#include "app/port_selector.h"
#include "tests/support/window_fixture.h"

#include <QAbstractItemView>
#include <QTest>

#include <gtest/gtest.h>

// The close-up sees the port picked in the list, by keys or by hand, and
// only a list that was dropped down closes up.
TEST(PortSelector, ClosesUpOnceThePickedPortIsCurrent)
{
    QWidget window;
    PortSelector selector(&window);
    selector.addItems({QStringLiteral("ttyS0"), QStringLiteral("ttySIM-99")});
    int dropDowns = 0;
    QStringList closedOn;
    QObject::connect(&selector, &PortSelector::dropDown, [&] { ++dropDowns; });
    QObject::connect(&selector, &PortSelector::closeUp, [&] { closedOn << selector.currentText(); });
    window.show();

    selector.showPopup();
    QTest::keyClick(selector.view(), Qt::Key_Down);
    QTest::keyClick(selector.view(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(closedOn, QStringList{"ttySIM-99"});

    selector.showPopup();
    selector.hidePopup();
    QCoreApplication::processEvents();
    EXPECT_EQ(dropDowns, 2);
    EXPECT_EQ(closedOn, (QStringList{"ttySIM-99", "ttySIM-99"}));

    window.hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(closedOn.size(), 2);
}

// Destroying a window hides its selector after the window's own state is gone.
TEST_F(WindowTest, AShownWindowGoesWithoutRunningTheCloseUp)
{
    window->show();
    window.reset();
}

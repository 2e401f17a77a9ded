// The stored layout as drawn in this program's fonts and style: every text
// fits the control that shows it, and no control's text runs over another.
#include "app/port_selector.h"
#include "tests/support/window_fixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>

namespace {

// Where a label's text lands, in its parent's coordinates.
QRect textRectOf(const QLabel &label)
{
    const int wrap = label.wordWrap() ? Qt::TextWordWrap : 0;
    const QRect text = label.fontMetrics().boundingRect(label.contentsRect(),
                                                        int(label.alignment()) | wrap, label.text());
    return text.translated(label.pos());
}

// Whether the label shows its whole text: no line wider, no lines taller.
bool labelFits(const QLabel &label)
{
    const QRect room = label.contentsRect();
    if (label.wordWrap()) {
        const int wrap = int(Qt::TextWordWrap);
        const QRect wrapped = label.fontMetrics().boundingRect(room, wrap, label.text());
        for (const QString &word : label.text().split(QRegularExpression(QStringLiteral("\\s+"))))
            if (label.fontMetrics().horizontalAdvance(word) > room.width())
                return false;
        return wrapped.height() <= room.height();
    }
    return label.fontMetrics().boundingRect(label.text()).width() <= room.width()
           && label.fontMetrics().height() <= room.height();
}

int buttonTextRoom(const QAbstractButton &button)
{
    if (const auto *push = qobject_cast<const QPushButton *>(&button)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        option.icon = push->icon();
        option.iconSize = push->iconSize();
        const QRect contents = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
        const int icon = push->icon().isNull() ? 0 : push->iconSize().width() + 4;
        return contents.width() - icon;
    }
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return button.style()->subElementRect(QStyle::SE_RadioButtonContents, &option, &button).width();
}

std::string describe(const QWidget *control)
{
    QString text;
    if (const auto *label = qobject_cast<const QLabel *>(control))
        text = label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        text = button->text();
    const QRect at = control->geometry();
    return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6")
        .arg(QString::fromLatin1(control->metaObject()->className()), text)
        .arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height())
        .toStdString();
}

class WindowLayoutTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        window->show();
    }
};

} // namespace

TEST_F(WindowLayoutTest, EveryButtonAndLabelShowsItsWholeText)
{
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->text().isEmpty())
            continue;
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), buttonTextRoom(*button))
            << describe(button);
    }
    // The value labels at their widest: a full 99-record flash.
    for (QLabel *value : {window->L_list2, window->L_max2, window->L_free})
        value->setText(QStringLiteral("8645472"));
    window->L_free->setFont([&] { QFont bold = window->L_free->font(); bold.setBold(true); return bold; }());
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->text().isEmpty()) {
            EXPECT_TRUE(labelFits(*label)) << describe(label);
        }
    }
}

TEST_F(WindowLayoutTest, TheConnectionLabelAndTheStatusPlateHoldEachOfTheirTexts)
{
    for (const QString &text : {QStringLiteral("Устройство подключено"), QStringLiteral("Устройство\r\nподключено"),
                                QStringLiteral("Устройство не опознано")}) {
        window->Connection->setText(text);
        EXPECT_TRUE(labelFits(*window->Connection)) << text.toStdString();
    }
    const QRect plate = window->StaticT1->geometry();
    for (const QString &text : {QStringLiteral("Обработка файлов..."), QStringLiteral("Передача данных ")}) {
        window->StaticT2->setText(text);
        EXPECT_TRUE(labelFits(*window->StaticT2)) << text.toStdString();
        EXPECT_TRUE(plate.contains(textRectOf(*window->StaticT2))) << text.toStdString();
    }
    // The countdown follows the transfer text on the same plate.
    EXPECT_LT(textRectOf(*window->StaticT2).right(), textRectOf(*window->ST_wait).left());
    EXPECT_TRUE(plate.contains(textRectOf(*window->ST_wait)));
}

TEST_F(WindowLayoutTest, ThePortSelectorShowsWholePortNames)
{
    QStyleOptionComboBox option;
    option.initFrom(window->ComSelect);
    const QRect field = window->ComSelect->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                                   QStyle::SC_ComboBoxEditField, window->ComSelect);
    for (const QString &name : {TFmain::kPortPlaceholder, QStringLiteral("ttyUSB10"), QStringLiteral("ttyACM0"),
                                QStringLiteral("ttySIM-32"), QStringLiteral("ttySIM-99")})
        EXPECT_LE(window->ComSelect->fontMetrics().horizontalAdvance(name), field.width()) << name.toStdString();
}

TEST_F(WindowLayoutTest, TheModelButtonsSitInsideTheirFrameBelowItsTitle)
{
    QGroupBox *group = window->RadioGroup1;
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    // Clear of the frame's lines by a pixel or two, whichever style draws them.
    const QRect inside = group->style()
                             ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, group)
                             .adjusted(0, 2, 0, -2);
    for (QRadioButton *model : {window->RadioButton1, window->RadioButton2, window->RadioButton3})
        EXPECT_TRUE(inside.contains(model->geometry()))
            << describe(model) << " outside " << inside.top() << ".." << inside.bottom();
}

// The plate and its texts lie over the table on purpose; everything else
// keeps apart, a label counting only where its text is.
TEST_F(WindowLayoutTest, NoControlRunsOverAnother)
{
    window->Connection->setText(QStringLiteral("Устройство не опознано"));
    const QList<QWidget *> overlays{window->StaticT1, window->StaticT2, window->ST_wait};
    QList<QWidget *> controls;
    for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && !overlays.contains(child))
            controls << child;
    const auto areaOf = [](QWidget *control) {
        const auto *label = qobject_cast<QLabel *>(control);
        return label && label->pixmap().isNull() ? textRectOf(*label) : control->geometry();
    };
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(areaOf(controls[i]).intersects(areaOf(controls[j])))
                << describe(controls[i]) << " and " << describe(controls[j]);
}

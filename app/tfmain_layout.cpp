// The stored layout of the main window: every component with its texts,
// hints, places, sizes and fonts as the window is first created.
#include "app/port_selector.h"
#include "app/tfmain.h"
#include "app/toolbar_images.h"
#include "table/recording_grid.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace {

QFont arial(int pixelHeight, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

// Where MS Sans Serif is missing, Arial's metrics come closest; the
// system's default sans is too wide for the status texts' fixed boxes.
QFont msSansSerifBold()
{
    const QString msSansSerif = QStringLiteral("MS Sans Serif");
    QFont font(QFontDatabase::hasFamily(msSansSerif) ? msSansSerif : QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

template <typename Widget>
Widget *place(Widget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel *label(QWidget *parent, const QString &text, int left, int top, int width = 100)
{
    return place(new QLabel(text, parent), left, top, width, 14);
}

QPushButton *pushButton(QWidget *parent, const QString &text, const QString &hint)
{
    auto *button = new QPushButton(text, parent);
    button->setToolTip(hint);
    return button;
}

QToolButton *toolButton(QWidget *toolBar, const QIcon &icon, const QString &hint, int left)
{
    constexpr int kButtonWidth = 35;
    constexpr int kButtonHeight = 26;
    auto *button = place(new QToolButton(toolBar), left, 0, kButtonWidth, kButtonHeight);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    return button;
}

} // namespace

void TFmain::createComponents()
{
    setFont(arial(11));
    ImageList1 = makeToolbarImages();
    createToolBar();

    GetListBtn = place(pushButton(this, QStringLiteral("Добавить список"),
                                  QStringLiteral("Добавить файлы из списка")),
                       264, 12, 105, 25);
    SaveListBtn = place(pushButton(this, QStringLiteral("Сохранить список"),
                                   QStringLiteral("Сохранить список файлов")),
                        376, 12, 105, 25);

    Image1 = place(new QLabel(this), 560, 8, 113, 49);
    Image1->setPixmap(makeLogo());
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setToolTip(QStringLiteral("Заливка звукоимитатора: записи, образ, загрузка"));

    sgrid = place(new RecordingGrid(table_, this), 4, 53, 541, 596);
    sgrid->setFont(arial(11));

    createRightColumn();
    createStatusArea();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setInterval(2000);

    createTableComponents();
    createUploadComponents();
}

void TFmain::createToolBar()
{
    // From the left: two narrow separators, add, delete, a 2-pixel separator,
    // clear, a 35-pixel separator, preview.
    ToolBar1 = place(new QWidget(this), 41, 8, 195, 33);
    B_add = toolButton(ToolBar1, ImageList1[0], QStringLiteral("Добавить в список"), 16);
    B_del = toolButton(ToolBar1, ImageList1[1], QStringLiteral("Удалить строку"), 51);
    B_delall = toolButton(ToolBar1, ImageList1[2], QStringLiteral("Очистить список"), 88);
    B_play = toolButton(ToolBar1, ImageList1[4], QStringLiteral("Озвучивание вкл/выкл"), 158);
}

void TFmain::createRightColumn()
{
    constexpr int kLeft = 568;

    Label2 = label(this, QStringLiteral("Выбор порта"), kLeft, 66);
    ComSelect = place(new PortSelector(this), kLeft, 82, 88, 22);
    ComSelect->addItem(kPortPlaceholder);
    ComSelect->setToolTip(QStringLiteral("Выбор COM - порта"));

    // The buttons sit below the frame's title, which this style draws above the frame.
    RadioGroup1 = place(new QGroupBox(QStringLiteral("Модель"), this), 560, 114, 113, 86);
    RadioButton1 = place(new QRadioButton(QStringLiteral("K 3/32"), RadioGroup1), 10, 21, 95, 18);
    RadioButton1->setToolTip(QStringLiteral("Кродан-3, Vexlor-3 (до 32 записей)"));
    RadioButton2 = place(new QRadioButton(QStringLiteral("K 4/99"), RadioGroup1), 10, 41, 95, 18);
    RadioButton2->setToolTip(QStringLiteral("Кродан-4 (до 99 записей)"));
    RadioButton3 = place(new QRadioButton(QStringLiteral("Авто"), RadioGroup1), 10, 61, 95, 18);
    RadioButton3->setToolTip(QStringLiteral("Автоматическое распознавание модели устройства"));
    RadioButton3->setChecked(true);

    Label1 = label(this, QStringLiteral("Общий объем"), kLeft, 214);
    L_list2 = label(this, QStringLiteral("0"), kLeft, 230);
    Label3 = label(this, QStringLiteral("Макс. объем"), kLeft, 254);
    L_max2 = label(this, QStringLiteral("0"), kLeft, 270);
    freelabel = label(this, QStringLiteral("Свободно"), kLeft, 294);
    L_free = label(this, QStringLiteral("0"), kLeft, 310);

    B_rec = place(pushButton(this, QStringLiteral("Записать"), QStringLiteral("Заливка из списка")),
                  kLeft, 476, 96, 32);
    B_rec->setIcon(ImageList1[6]);
    LoadBinBtn = place(pushButton(this, QStringLiteral("Залить образ"),
                                  QStringLiteral("Залить готовый BIN/BKR файл")),
                       kLeft, 520, 97, 33);
    SaveBinBtn = place(pushButton(this, QStringLiteral("Сохранить образ"),
                                  QStringLiteral("Создать BKR-файл образа по таблице")),
                       kLeft, 564, 97, 33);
}

void TFmain::createStatusArea()
{
    Connection = place(new QLabel(this), 552, 632, 121, 44);
    Connection->setFont(arial(13, true));
    Connection->setAlignment(Qt::AlignCenter);
    Connection->setWordWrap(true);

    progressb1 = place(new QProgressBar(this), 2, 662, 519, 12);
    progressb1->setRange(0, 100);
    progressb1->setValue(0);
    progressb1->setTextVisible(false);

    StaticT1 = place(new QLabel(this), 156, 104, 189, 33);
    StaticT1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    StaticT1->setAutoFillBackground(true);
    StaticT1->hide();

    StaticT2 = place(new QLabel(QStringLiteral("Передача данных "), this), 171, 112, 139, 20);
    StaticT2->setFont(msSansSerifBold());
    StaticT2->hide();

    ST_wait = place(new QLabel(QStringLiteral("5"), this), 320, 112, 12, 20);
    ST_wait->setFont(msSansSerifBold());
    ST_wait->hide();
}

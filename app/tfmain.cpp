#include "app/tfmain.h"

#include "app/application_events.h"
#include "app/port_selector.h"
#include "app/qt_prompts.h"
#include "table/recording_grid.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

const QString TFmain::kPortPlaceholder = QStringLiteral("COM-порт");

namespace {

Prompts *realPromptsIfNone(Prompts *given, std::unique_ptr<Prompts> &own, QWidget *window)
{
    if (given)
        return given;
    own = std::make_unique<QtPrompts>(window);
    return own.get();
}

void setAlarm(QLabel *label, bool alarm)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, alarm ? QColor(255, 0, 0) : QColor(0, 0, 0));
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(alarm);
    label->setFont(font);
}

} // namespace

TFmain::TFmain(Prompts *prompts, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      prompts_(*realPromptsIfNone(prompts, ownPrompts_, this)),
      port_(makeSerialLine())
{
    setObjectName(QStringLiteral("Fmain"));
    setWindowTitle(QStringLiteral(" Заливка звукоимитатора  v5.01"));
    setFixedSize(kClientWidth, kClientHeight);
    move(225, 151);
    createComponents();
    connectHandlers();
    FormCreate();
}

// Child widgets outlive the members (QWidget deletes them later); the grid
// shows table_, so it goes first.
TFmain::~TFmain()
{
    releaseWorker(); // closing the window ends an upload under way at once
    // A shown window hides its children on the way out (the port selector
    // then closes its list): no handler may run in a window half gone.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
    delete sgrid;
}

void TFmain::connectHandlers()
{
    connect(B_add, &QToolButton::clicked, this, &TFmain::B_addClick);
    connect(B_del, &QToolButton::clicked, this, &TFmain::B_delClick);
    connect(B_delall, &QToolButton::clicked, this, &TFmain::B_delallClick);
    connect(B_play, &QToolButton::clicked, this, &TFmain::B_playClick);
    connect(GetListBtn, &QPushButton::clicked, this, &TFmain::GetListBtnClick);
    connect(SaveListBtn, &QPushButton::clicked, this, &TFmain::SaveListBtnClick);
    connect(sgrid, &RecordingGrid::gridClick, this, &TFmain::sgridClick);
    connect(sgrid, &RecordingGrid::keyDown, this, &TFmain::sgridKeyDown);
    connect(ComSelect, &PortSelector::dropDown, this, &TFmain::ComSelectDropDown);
    connect(ComSelect, &PortSelector::closeUp, this, &TFmain::ComSelectCloseUp);
    // A model button raises its click whenever it becomes selected, by the
    // user or from code; "Авто" has no handler.
    for (QRadioButton *model : {RadioButton1, RadioButton2}) {
        connect(model, &QRadioButton::toggled, this, [this](bool selected) {
            if (selected)
                RadioGroup1Click();
        });
    }
    connect(B_rec, &QPushButton::clicked, this, &TFmain::B_recClick);
    connect(LoadBinBtn, &QPushButton::clicked, this, &TFmain::B_binClick);
    connect(SaveBinBtn, &QPushButton::clicked, this, &TFmain::SaveBinBtnClick);
    connect(Timer1, &QTimer::timeout, this, &TFmain::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TFmain::Timer2Timer);
    connect(AEvents, &ApplicationEvents::shortCut, this, &TFmain::AEventsShortCut);
}

void TFmain::FormCreate()
{
    columnWidths_ = startupColumnWidths();
    sgrid->setColumnWidths(columnWidths_);
    sgrid->resize(gridWidthOf(columnWidths_), sgrid->height());
    writeHeaderRow(table_);
    profile_ = startupProfile();
    port_->close();
    ComSelect->setCurrentIndex(0);
    SetIdleState();
    tempDir_ = QDir::tempPath() + QLatin1Char('/');
    deviceState_ = 0;
    RefreshTable();
}

void TFmain::SetTransferState()
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             sgrid, B_add, B_del, B_delall, B_play, B_rec, ComSelect, LoadBinBtn, RadioButton1,
             RadioButton2, RadioButton3, SaveBinBtn, GetListBtn})
        control->setEnabled(false);
}

void TFmain::SetIdleState()
{
    sgrid->setEnabled(true);
    B_add->setEnabled(true);
    const bool hasRecordings = table_.hasRecordings();
    for (QWidget *control : std::initializer_list<QWidget *>{
             B_play, B_rec, SaveBinBtn, SaveListBtn, B_del, B_delall})
        control->setEnabled(hasRecordings);
    for (QWidget *control : std::initializer_list<QWidget *>{
             ComSelect, LoadBinBtn, RadioButton1, RadioButton2, RadioButton3, GetListBtn})
        control->setEnabled(true);
    progressb1->setValue(0);
    // Until the port list has been dropped down once, there is nowhere to upload to.
    const bool placeholderSelected = ComSelect->count() > 0 && ComSelect->currentIndex() == 0
                                     && ComSelect->itemText(0) == kPortPlaceholder;
    if (placeholderSelected) {
        B_rec->setEnabled(false);
        LoadBinBtn->setEnabled(false);
    }
}

void TFmain::RefreshTable()
{
    sgrid->setFixedRows(table_.hasRecordings() ? 1 : 0);
    applyColumnLayout(columnWidths_, profile_.maxRecords);
    sgrid->setColumnWidths(columnWidths_);
    sgrid->resize(gridWidthOf(columnWidths_), sgrid->height());
    SetIdleState();
    totals_ = refreshRows(table_, profile_.pageSize);
    sgrid->rowsChanged();
    if (table_.hasRecordings() && sgrid->row() == 0)
        sgrid->setRow(1);
    applyVolumeLabels();
}

void TFmain::applyVolumeLabels()
{
    const VolumeLabels labels = volumeLabelsOf(totals_, profile_.maxVolume);
    L_max2->setText(labels.max);
    L_list2->setText(labels.used);
    freelabel->setText(labels.freeCaption);
    L_free->setText(labels.free);
    setAlarm(L_free, labels.overflow);
    setAlarm(L_list2, labels.overflow);
}

void TFmain::showOperationError(const OperationError &error)
{
    prompts_.message({error.message(), QStringLiteral("Ошибка"), Prompts::Icon::Error});
}

void TFmain::RadioGroup1Click()
{
    const auto install = [this](DeviceModel model) {
        setLineSpeed(*port_, lineSpeedOf(model));
        profile_ = fixedProfile(model);
    };
    if (RadioButton1->isChecked())
        install(DeviceModel::Records32);
    if (RadioButton2->isChecked())
        install(DeviceModel::Records99);
    RefreshTable();
}

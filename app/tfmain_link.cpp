// Handlers of the port selector and the presence poll.
#include "app/tfmain.h"

#include "app/port_selector.h"
#include "link/device_detection.h"
#include "link/port_enumeration.h"
#include "link/port_opening.h"

#include <QLabel>
#include <QRadioButton>
#include <QTimer>

namespace {

void setConnection(QLabel *label, const QString &text, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setText(text);
}

void showAnswer(QLabel *label, DeviceAnswer answer)
{
    const QColor green(0, 128, 0);
    switch (answer) {
    case DeviceAnswer::None:
        label->clear(); // the colour stays for the next text
        break;
    case DeviceAnswer::ModePrompt:
        setConnection(label, QStringLiteral("Устройство\r\nподключено"), green);
        break;
    case DeviceAnswer::VersionLine:
        setConnection(label, QStringLiteral("Устройство подключено"), green);
        break;
    case DeviceAnswer::Unrecognised:
        setConnection(label, QStringLiteral("Устройство не опознано"), QColor(255, 0, 0));
        break;
    }
}

} // namespace

void TFmain::EnumeratePorts()
{
    Timer2->stop();
    port_->close();
    ComSelect->clear();
    ComSelect->addItems(enumeratePortNames());
    // Filling an empty list selects its first item; nothing is chosen yet.
    ComSelect->setCurrentIndex(-1);
}

void TFmain::ComSelectDropDown()
{
    EnumeratePorts();
    SetIdleState();
}

void TFmain::ComSelectCloseUp()
{
    releaseWorker();
    port_->close();
    const QString name = ComSelect->currentText();
    const QString path = portPathOf(name);
    const DeviceModel model = RadioButton2->isChecked() ? DeviceModel::Records99
                                                        : DeviceModel::Records32;
    const OpenResult result = openPort(*port_, path, lineSpeedOf(model));
    if (!result.opened()) {
        // No message: the poll stays off and the label keeps its text, but
        // the label's tooltip says why.
        Timer2->stop();
        Connection->setToolTip(name.isEmpty() ? QStringLiteral("Порт не выбран")
                                              : openFailureText(result, path));
        return;
    }
    Connection->setToolTip(QString());
    Timer1->stop();
    Timer2->start();
}

void TFmain::Timer2Timer()
{
    releaseWorker();
    if (RadioButton3->isChecked())
        alternateLineSpeed(*port_);
    deviceState_ = DetectDevice();
}

int TFmain::DetectDevice()
{
    const bool automatic = RadioButton3->isChecked();
    const Detection detection = detectDevice(*port_, profile_, automatic);
    if (automatic && detection.model()) {
        RefreshTable();
        // Selecting the model ends the automatic mode and runs RadioGroup1Click,
        // which sets the model's speed and installs its fixed profile.
        QRadioButton *choice = *detection.model() == DeviceModel::Records32 ? RadioButton1
                                                                            : RadioButton2;
        choice->setChecked(true);
    }
    showAnswer(Connection, detection.answer);
    return detection.deviceState();
}

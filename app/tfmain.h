#pragma once

#include "app/prompts.h"
#include "audio/sound_out.h"
#include "core/device_profile.h"
#include "core/operation_error.h"
#include "link/serial_line.h"
#include "link/posted_upload_events.h"
#include "link/upload_session.h"
#include "table/recording_table.h"
#include "table/refresh_table.h"

#include <QIcon>
#include <QKeyEvent>
#include <QList>
#include <QWidget>

#include <memory>

class ApplicationEvents;
class PortSelector;
class RecordingGrid;
class QGroupBox;

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

// The main window. Its components carry the names of the stored layout and
// its slots the names of the handlers bound to them; handlers are thin and
// leave the work to the widget-free operations of the other folders.
class TFmain : public QWidget
{
    Q_OBJECT
public:
    // prompts: where message boxes and file dialogs go; null shows real ones.
    explicit TFmain(Prompts *prompts = nullptr, QWidget *parent = nullptr);
    ~TFmain() override;

    static constexpr int kClientWidth = 678;
    static constexpr int kClientHeight = 681;
    static const QString kPortPlaceholder;

    // Components of the stored layout.
    QWidget *ToolBar1 = nullptr;
    QToolButton *B_add = nullptr;
    QToolButton *B_del = nullptr;
    QToolButton *B_delall = nullptr;
    QToolButton *B_play = nullptr;
    QPushButton *GetListBtn = nullptr;
    QPushButton *SaveListBtn = nullptr;
    QLabel *Image1 = nullptr;
    RecordingGrid *sgrid = nullptr;
    QLabel *Label2 = nullptr;
    PortSelector *ComSelect = nullptr;
    QGroupBox *RadioGroup1 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *L_list2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *L_max2 = nullptr;
    QLabel *freelabel = nullptr;
    QLabel *L_free = nullptr;
    QPushButton *B_rec = nullptr;
    QPushButton *LoadBinBtn = nullptr;
    QPushButton *SaveBinBtn = nullptr;
    QLabel *Connection = nullptr;
    QProgressBar *progressb1 = nullptr;
    QLabel *StaticT1 = nullptr;
    QLabel *StaticT2 = nullptr;
    QLabel *ST_wait = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    QList<QIcon> ImageList1;
    ApplicationEvents *AEvents = nullptr;
    // File dialogs, shown through the prompts.
    Prompts::FileDialog OD;
    Prompts::FileDialog OpenListDialog;
    Prompts::FileDialog SaveListDialog;
    Prompts::FileDialog OD_bin;

    // State the window owns and hands to the operations.
    const DeviceProfile &profile() const { return profile_; }
    RecordingTable &table() { return table_; }
    const TableTotals &totals() const { return totals_; }
    const ColumnWidths &columnWidths() const { return columnWidths_; }
    const QString &tempDir() const { return tempDir_; }
    int deviceState() const { return deviceState_; }
    SerialLine &port() { return *port_; }

    void SetIdleState();
    void SetTransferState();
    void RefreshTable();
    void StopPreview();
    void EnumeratePorts();
    int DetectDevice();

    // Runs the limit check, then builds the table's image into path with the
    // status plate shown. False when the check or the build refused or
    // failed; the user has been told why and no file was changed.
    bool BuildTableImage(const QString &path);
    void PlayPreview(const QString &path);
    // Checks the device, asks for confirmation and arms the watchdog for an
    // upload of the file at path.
    void StartUpload(const QString &path);
    // The WAV image of the playing preview; null while none plays.
    const QByteArray &previewBuffer() const { return previewBuffer_; }

    // Checks one recording file and appends its row, without a refresh.
    // 1: added; -1: not added, the user goes on; 0: not added, the user stops.
    int AddRecordingFile(const QString &path);
    void MoveRowUp();
    void MoveRowDown();

public slots:
    void B_addClick();
    void ODCanClose(const QStringList &files);
    void B_delClick();
    void B_delallClick();
    void B_playClick();
    void GetListBtnClick();
    void SaveListBtnClick();
    void sgridClick();
    void sgridKeyDown(QKeyEvent *event);
    void AEventsShortCut(QKeyEvent *key);
    void ComSelectDropDown();
    void ComSelectCloseUp();
    void RadioGroup1Click();
    void B_recClick();
    void B_binClick();
    void SaveBinBtnClick();
    void Timer1Timer();
    void Timer2Timer();

private:
    // Runs a handler's work; an OperationError ends it and is shown to the user.
    template <typename Work>
    void guarded(Work &&work)
    {
        try {
            work();
        } catch (const OperationError &error) {
            showOperationError(error);
        }
    }
    void showOperationError(const OperationError &error);

    void createComponents();
    void createToolBar();
    void createRightColumn();
    void createStatusArea();
    void connectHandlers();
    void FormCreate();
    void applyVolumeLabels();
    bool imageLimitsPass();
    bool buildImageShown(const QString &path);
    void releaseWorker();
    void createUploadComponents();
    void showUploadProgress(UploadProgress progress);
    void uploadCompleted();
    void uploadCancelled();
    void uploadFailed(const QString &text, Prompts::Icon icon);
    void hideUploadStatus();
    void createTableComponents();
    void loadList(const QString &listPath);

    std::unique_ptr<Prompts> ownPrompts_;
    Prompts &prompts_;

    DeviceProfile profile_;
    RecordingTable table_;
    TableTotals totals_;
    ColumnWidths columnWidths_{};
    QString tempDir_;
    int deviceState_ = 0;
    std::unique_ptr<SerialLine> port_;
    QByteArray previewBuffer_;
    SoundOut soundOut_;
    std::unique_ptr<PostedUploadEvents> uploadEvents_;
    std::unique_ptr<UploadSession> upload_; // the last upload, until its worker is released
};

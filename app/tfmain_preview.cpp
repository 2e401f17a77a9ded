// Handlers of the preview: listening to the selected recording.
#include "app/tfmain.h"

#include "audio/wav_image.h"
#include "table/recording_grid.h"

#include <QToolButton>

namespace {

// Pictures of B_play in ImageList1.
constexpr int kPreviewOffPicture = 4;
constexpr int kPreviewOnPicture = 5;

} // namespace

void TFmain::StopPreview()
{
    if (previewBuffer_.isNull())
        return;
    soundOut_.stop();
    B_play->setIcon(ImageList1[kPreviewOffPicture]);
    previewBuffer_ = QByteArray();
}

// Only while no preview plays. A file that cannot be read or is refused
// throws before anything changes, so the preview stays idle.
void TFmain::PlayPreview(const QString &path)
{
    previewBuffer_ = readPreviewImage(path);
    B_play->setIcon(ImageList1[kPreviewOnPicture]);
    soundOut_.playLooped(previewBuffer_);
}

void TFmain::B_playClick()
{
    if (!previewBuffer_.isNull()) {
        StopPreview();
        return;
    }
    guarded([this] { PlayPreview(table_.cell(sgrid->row(), ColPath)); });
}

// A click never starts a preview; while one plays, every change of the
// selection switches it to the selected row, and the header row stops it.
void TFmain::sgridClick()
{
    if (previewBuffer_.isNull())
        return;
    StopPreview();
    if (sgrid->row() == 0)
        return;
    guarded([this] { PlayPreview(table_.cell(sgrid->row(), ColPath)); });
}

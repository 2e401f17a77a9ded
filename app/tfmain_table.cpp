// Handlers that add, remove, reorder, save and load recordings.
#include "app/application_events.h"
#include "app/tfmain.h"
#include "table/list_file.h"
#include "table/recording_file.h"
#include "table/recording_grid.h"
#include "table/table_edits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QToolButton>

void TFmain::createTableComponents()
{
    AEvents = new ApplicationEvents(this);

    // The home folder stands in for the root of the system drive.
    OD.filter = QStringLiteral("*.krd (*.krd)");
    OD.folder = QDir::homePath();

    OpenListDialog.filter = QStringLiteral("*.pls; *.txt (*.pls *.txt);;Все файлы (*)");

    SaveListDialog.title = QStringLiteral("Сохранение списка");
    SaveListDialog.filter = QStringLiteral("*.txt;*.pls (*.txt *.pls)");
    SaveListDialog.defaultSuffix = QStringLiteral("txt");
}

int TFmain::AddRecordingFile(const QString &path)
{
    const RecordingFile file = readRecordingFile(path);
    if (file.check == RecordingCheck::Valid) {
        appendRecordingRow(table_, path, file.header);
        return 1;
    }
    // The user decides with the rows added so far in view.
    RefreshTable();
    Prompts::Message warning{recordingWarning(path, file.check), QStringLiteral("Ошибка"),
                             Prompts::Icon::Warning, Prompts::Buttons::OkCancel};
    warning.ownedByWindow = false;
    return prompts_.message(warning) == Prompts::Answer::Cancel ? 0 : -1;
}

void TFmain::B_addClick()
{
    StopPreview();
    prompts_.openFiles(OD, [this](const QStringList &files) { ODCanClose(files); });
}

// Runs while the add dialog is still open, so every warning shows over it.
void TFmain::ODCanClose(const QStringList &files)
{
    guarded([&] {
        for (const QString &file : files) {
            const int added = AddRecordingFile(file);
            RefreshTable();
            if (added == 0)
                break;
        }
    });
}

void TFmain::B_delClick()
{
    StopPreview();
    if (table_.hasRecordings() && sgrid->row() > 0)
        removeRecordingRow(table_, sgrid->row());
    RefreshTable();
}

void TFmain::B_delallClick()
{
    StopPreview();
    table_.setRowCount(1);
    RefreshTable();
}

// Delete removes the selected row whatever the modifiers and whichever
// control has the focus; the key still goes on to that control.
void TFmain::AEventsShortCut(QKeyEvent *key)
{
    if (key->key() == Qt::Key_Delete && B_del->isEnabled())
        B_delClick();
}

void TFmain::sgridKeyDown(QKeyEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return;
    if (event->key() == Qt::Key_Up)
        MoveRowUp();
    if (event->key() == Qt::Key_Down)
        MoveRowDown();
}

// Both moves exchange the rows first and then select the moved recording, so
// the grid's click finds it in the selected row.
void TFmain::MoveRowUp()
{
    const int row = sgrid->row();
    if (table_.rowCount() < 3 || row < 2)
        return;
    SwapRows(table_, row - 1);
    sgrid->cellsChanged();
    sgrid->setRow(row - 1);
}

void TFmain::MoveRowDown()
{
    const int row = sgrid->row();
    if (table_.rowCount() < 3 || row < 1 || row > table_.rowCount() - 2)
        return;
    SwapRows(table_, row);
    sgrid->cellsChanged();
    sgrid->setRow(row + 1);
}

void TFmain::GetListBtnClick()
{
    StopPreview();
    const QString listPath = prompts_.openFile(OpenListDialog);
    if (listPath.isEmpty())
        return;
    guarded([&] { loadList(listPath); });
}

// Adds the recordings a list names. A name without a folder is taken from the
// list file's folder; the row keeps the path found, so the recording opens
// from anywhere later.
void TFmain::loadList(const QString &listPath)
{
    QFile list(listPath);
    openList(list);
    // Also when an error ends the loading: the rows added so far are shown.
    const auto closeAndRefresh = qScopeGuard([&] {
        list.close();
        RefreshTable();
    });
    const QString listFolder = QFileInfo(listPath).absolutePath();
    while (const std::optional<QByteArray> name = ReadListLine(list)) {
        if (AddRecordingFile(resolveListName(decodeListName(*name), listFolder)) == 0)
            break;
    }
}

void TFmain::SaveListBtnClick()
{
    StopPreview();
    const QString listPath = prompts_.saveFile(SaveListDialog);
    if (listPath.isEmpty())
        return;
    QStringList names;
    for (int row = 1; row < table_.rowCount(); ++row)
        names << table_.cell(row, ColFileName);
    guarded([&] { writeList(listPath, names); });
}

#include "app/qt_prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Warning: return QMessageBox::Warning;
    case Prompts::Icon::Error: return QMessageBox::Critical;
    case Prompts::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// An open dialog that runs the caller's accept step once the choice is
// confirmed, while the dialog is still shown.
class AcceptingFileDialog : public QFileDialog
{
public:
    AcceptingFileDialog(QWidget *parent, const Prompts::AcceptStep &accept)
        : QFileDialog(parent), accept_(accept)
    {
    }

    void done(int result) override
    {
        if (result == QDialog::Accepted && accept_)
            accept_(selectedFiles());
        QFileDialog::done(result);
    }

private:
    Prompts::AcceptStep accept_;
};

void configure(QFileDialog &box, const Prompts::FileDialog &dialog)
{
    box.setOption(QFileDialog::DontUseNativeDialog);
    if (!dialog.title.isEmpty())
        box.setWindowTitle(dialog.title);
    box.setNameFilter(dialog.filter);
    if (!dialog.folder.isEmpty())
        box.setDirectory(dialog.folder);
    box.setDefaultSuffix(dialog.defaultSuffix);
    box.setOption(QFileDialog::DontConfirmOverwrite, !dialog.confirmOverwrite);
}

QString chosenFile(QFileDialog &box)
{
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return {};
    return box.selectedFiles().constFirst();
}

} // namespace

Prompts::Answer QtPrompts::message(const Message &message)
{
    QMessageBox box(boxIcon(message.icon), message.caption, message.text, QMessageBox::NoButton,
                    message.ownedByWindow ? window_ : nullptr);
    QPushButton *ok = box.addButton(QMessageBox::Ok);
    QPushButton *cancel = message.buttons == Buttons::OkCancel ? box.addButton(QMessageBox::Cancel)
                                                                : nullptr;
    box.setDefaultButton(message.defaultAnswer == Answer::Cancel && cancel ? cancel : ok);
    box.setEscapeButton(cancel ? cancel : ok);
    box.exec();
    return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
}

bool QtPrompts::openFiles(const FileDialog &dialog, const AcceptStep &accept)
{
    AcceptingFileDialog box(window_, accept);
    configure(box, dialog);
    box.setFileMode(QFileDialog::ExistingFiles);
    return box.exec() == QDialog::Accepted;
}

QString QtPrompts::openFile(const FileDialog &dialog)
{
    QFileDialog box(window_);
    configure(box, dialog);
    box.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(box);
}

QString QtPrompts::saveFile(const FileDialog &dialog)
{
    QFileDialog box(window_);
    configure(box, dialog);
    box.setAcceptMode(QFileDialog::AcceptSave);
    return chosenFile(box);
}

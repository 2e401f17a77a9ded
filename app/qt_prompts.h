#pragma once

#include "app/prompts.h"

class QWidget;

// Prompts shown with Qt's own dialogs (not the desktop's native ones, so that
// the accept step of an open dialog runs while it is still on screen).
class QtPrompts final : public Prompts
{
public:
    explicit QtPrompts(QWidget *window) : window_(window) {}

    Answer message(const Message &message) override;
    bool openFiles(const FileDialog &dialog, const AcceptStep &accept) override;
    QString openFile(const FileDialog &dialog) override;
    QString saveFile(const FileDialog &dialog) override;

private:
    QWidget *window_;
};

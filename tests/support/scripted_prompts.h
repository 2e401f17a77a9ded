#pragma once

#include "app/prompts.h"

#include <deque>
#include <vector>

// Prompts for tests: records every message and dialog and answers from a
// script. With the script used up, messages are answered OK and dialogs
// cancelled.
class ScriptedPrompts final : public Prompts
{
public:
    std::vector<Message> messages;
    std::vector<FileDialog> dialogs;

    std::deque<Answer> answers;
    // One entry per dialog; an empty list cancels it.
    std::deque<QStringList> choices;

    Answer message(const Message &message) override;
    bool openFiles(const FileDialog &dialog, const AcceptStep &accept) override;
    QString openFile(const FileDialog &dialog) override;
    QString saveFile(const FileDialog &dialog) override;

    QStringList messageTexts() const;

private:
    QStringList nextChoice(const FileDialog &dialog);
};

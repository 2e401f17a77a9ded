#include "tests/support/scripted_prompts.h"

Prompts::Answer ScriptedPrompts::message(const Message &message)
{
    messages.push_back(message);
    if (answers.empty())
        return Answer::Ok;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QStringList ScriptedPrompts::nextChoice(const FileDialog &dialog)
{
    dialogs.push_back(dialog);
    if (choices.empty())
        return {};
    QStringList choice = choices.front();
    choices.pop_front();
    return choice;
}

bool ScriptedPrompts::openFiles(const FileDialog &dialog, const AcceptStep &accept)
{
    const QStringList files = nextChoice(dialog);
    if (files.isEmpty())
        return false;
    accept(files);
    return true;
}

QString ScriptedPrompts::openFile(const FileDialog &dialog)
{
    const QStringList files = nextChoice(dialog);
    return files.isEmpty() ? QString() : files.constFirst();
}

QString ScriptedPrompts::saveFile(const FileDialog &dialog)
{
    return openFile(dialog);
}

QStringList ScriptedPrompts::messageTexts() const
{
    QStringList texts;
    for (const Message &message : messages)
        texts << message.text;
    return texts;
}

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The one way the program asks the user something: message boxes and file
// dialogs. The window shows real dialogs; tests install a scripted double.
class Prompts
{
public:
    enum class Icon { None, Information, Warning, Error };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };

    struct Message {
        QString text;
        QString caption;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        Answer defaultAnswer = Answer::Ok;
        bool ownedByWindow = true; // false: shown with no owner window

        bool operator==(const Message &) const = default;
    };

    struct FileDialog {
        QString title;               // empty: the platform's default title
        QString filter;              // Qt filter text, e.g. "*.krd (*.krd)"
        QString folder;              // initial folder; empty: the current one
        QString defaultSuffix;       // added to a typed name without one
        bool confirmOverwrite = false;
    };

    // Runs once while an open dialog is still on screen, when the user has
    // confirmed the files, before it closes.
    using AcceptStep = std::function<void(const QStringList &files)>;

    virtual ~Prompts() = default;

    virtual Answer message(const Message &message) = 0;

    // Shows an open dialog for several files and runs accept with the chosen
    // ones before the dialog closes. Returns false when the user cancelled.
    virtual bool openFiles(const FileDialog &dialog, const AcceptStep &accept) = 0;

    // An open or save dialog for one file; an empty result means cancelled.
    virtual QString openFile(const FileDialog &dialog) = 0;
    virtual QString saveFile(const FileDialog &dialog) = 0;
};

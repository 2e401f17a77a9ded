#include "app/tfmain.h"
#include "app/toolbar_images.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace {

// Qt's own dialog texts (buttons, file dialogs) in Russian.
void installRussianTranslations(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    installRussianTranslations(app);
    QApplication::setWindowIcon(makeProgramIcon());
    // Desktops match the window to the installed entry, and take its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("soundloader"));
    try {
        TFmain Fmain;
        Fmain.show();
        app.exec();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Ошибка"), QString::fromUtf8(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Ошибка"), QString());
    }
    return 0;
}

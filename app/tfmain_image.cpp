// Handlers that build the flash image into a file.
#include "app/tfmain.h"

#include "image/build_image.h"
#include "image/limit_check.h"

#include <QLabel>

#include <optional>

void TFmain::SaveBinBtnClick()
{
    StopPreview();
    if (!imageLimitsPass())
        return;
    Prompts::FileDialog dialog;
    dialog.filter = QStringLiteral("*.bkr (*.bkr)");
    dialog.defaultSuffix = QStringLiteral("bkr");
    dialog.confirmOverwrite = true;
    const QString path = prompts_.saveFile(dialog);
    if (path.isEmpty())
        return;
    if (buildImageShown(path))
        prompts_.message({QStringLiteral("Готово"), QStringLiteral("Сообщение"), Prompts::Icon::Information});
}

bool TFmain::BuildTableImage(const QString &path)
{
    return imageLimitsPass() && buildImageShown(path);
}

bool TFmain::imageLimitsPass()
{
    const LimitCheck check = checkLimits(totals_, profile_);
    if (check == LimitCheck::Passed)
        return true;
    // Either button ends the operation.
    prompts_.message({limitMessage(check), QStringLiteral("Ошибка"), Prompts::Icon::None, Prompts::Buttons::OkCancel});
    return false;
}

// The build runs to its end without processing events, so the plate is
// painted at once rather than when the event loop gets to it; repainting
// the plate repaints the text that lies on it.
bool TFmain::buildImageShown(const QString &path)
{
    StaticT2->setText(QStringLiteral("Обработка файлов..."));
    StaticT1->show();
    StaticT2->show();
    StaticT1->repaint();

    std::optional<OperationError> failure;
    try {
        BuildImage(table_, path);
    } catch (const OperationError &error) {
        failure = error;
    }
    StaticT1->hide();
    StaticT2->hide();
    if (failure)
        showOperationError(*failure);
    return !failure;
}

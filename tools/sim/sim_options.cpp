#include "tools/sim/sim_options.h"

#include "link/termios_speed.h"

#include <cctype>
#include <utility>

const char *const kSimUsage =
    "Использование: soundloader-sim --model 32|99 [ПАРАМЕТРЫ]\n"
    "Звукоимитатор на псевдотерминале: первая строка вывода — путь к терминалу.\n\n"
    "  --model 32|99            модель: 32 отвечает приглашением выбора режима,\n"
    "                           99 — строкой версии\n"
    "  --version-line ТЕКСТ     строка версии модели 99 (по умолчанию\n"
    "                           \"V1.0, B8192, S1056, R99\")\n"
    "  --reply ТЕКСТ            отвечать на запрос опознания этим текстом как есть\n"
    "  --silent                 не отвечать\n"
    "  --baud N                 отвечать, только когда порт настроен на N бод\n"
    "  --link ПУТЬ              символическая ссылка на терминал (например, /dev/ttySIM0)\n"
    "  --exit-after-seconds S   завершиться через S секунд\n\n"
    "Заливка (модель 32 входит в режим загрузки по \"L\" и просит пакет NAK раз в\n"
    "секунду, модель 99 принимает пакет 0 без запроса; обе проверяют каждый пакет,\n"
    "отвечают ACK или NAK и заканчивают по 04 FB или одиночному 04):\n"
    "  --out ФАЙЛ               записать принятые данные в ФАЙЛ\n"
    "  --report ФАЙЛ            записать итоги заливки в ФАЙЛ (JSON: packets, naks,\n"
    "                           repeats, badPackets, completed, cancelled, bytes,\n"
    "                           seconds, uploads)\n"
    "  --nak-every K            отвечать NAK на каждый K-й пакет\n"
    "  --drop-ack K             не отвечать на K-й пакет (ACK потерян)\n"
    "  --can-at K               отменить заливку (CAN) на K-м пакете\n"
    "  --silent-after K         после K пакетов больше не отвечать\n"
    "  --stray-bytes            посылать лишние байты перед каждым ответом\n"
    "  --ack-delay-ms D         отвечать на пакеты с задержкой D мс\n"
    "Пакеты считаются с 1 в порядке прихода.\n"
    "В ТЕКСТЕ: \\r, \\n, \\t, \\\\ и \\xHH — соответствующие байты.";

std::optional<QByteArray> decodeEscapes(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray bytes;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\\') {
            bytes += utf8[i];
            continue;
        }
        if (++i == utf8.size())
            return std::nullopt;
        switch (utf8[i]) {
        case 'r': bytes += '\r'; break;
        case 'n': bytes += '\n'; break;
        case 't': bytes += '\t'; break;
        case '\\': bytes += '\\'; break;
        case 'x': {
            const QByteArray digits = utf8.mid(i + 1, 2);
            if (digits.size() != 2 || !isxdigit(uchar(digits[0])) || !isxdigit(uchar(digits[1])))
                return std::nullopt;
            bytes += char(digits.toInt(nullptr, 16));
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return bytes;
}

namespace {

const QStringList kValueOptions = {
    QStringLiteral("--model"), QStringLiteral("--version-line"), QStringLiteral("--reply"),
    QStringLiteral("--baud"),  QStringLiteral("--link"),         QStringLiteral("--exit-after-seconds"),
    QStringLiteral("--out"),   QStringLiteral("--report"),
};

// Options of the upload's faults, each with the least value it takes.
const std::pair<QString, int> kFaultOptions[] = {
    {QStringLiteral("--nak-every"), 1},    {QStringLiteral("--drop-ack"), 1},
    {QStringLiteral("--can-at"), 1},       {QStringLiteral("--silent-after"), 0},
    {QStringLiteral("--ack-delay-ms"), 0},
};

std::optional<int> faultMinimum(const QString &option)
{
    for (const auto &[name, minimum] : kFaultOptions)
        if (name == option)
            return minimum;
    return std::nullopt;
}

void setFault(UploadFaults &faults, const QString &option, int value)
{
    if (option == QStringLiteral("--nak-every"))
        faults.nakEvery = value;
    else if (option == QStringLiteral("--drop-ack"))
        faults.dropAck = value;
    else if (option == QStringLiteral("--can-at"))
        faults.canAt = value;
    else if (option == QStringLiteral("--silent-after"))
        faults.silentAfter = value;
    else
        faults.ackDelayMs = value;
}

std::optional<SimOptions> refuse(QString &problem, const QString &text)
{
    problem = text;
    return std::nullopt;
}

} // namespace

std::optional<SimOptions> parseSimOptions(const QStringList &args, QString &problem)
{
    SimOptions options;
    bool modelGiven = false;
    bool versionLineGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &option = args[i];
        if (option == QStringLiteral("--silent")) {
            options.silent = true;
            continue;
        }
        if (option == QStringLiteral("--stray-bytes")) {
            options.faults.strayBytes = true;
            continue;
        }
        const std::optional<int> faultLeast = faultMinimum(option);
        if (!kValueOptions.contains(option) && !faultLeast)
            return refuse(problem, QStringLiteral("Неизвестный параметр: %1").arg(option));
        if (i + 1 == args.size())
            return refuse(problem, QStringLiteral("Не указано значение %1").arg(option));
        const QString value = args[++i];
        bool ok = false;
        if (faultLeast) {
            const int number = value.toInt(&ok);
            // A minute bounds the delay; a longer one only looks like a dead device.
            if (!ok || number < *faultLeast || (option == QStringLiteral("--ack-delay-ms") && number > 60000))
                return refuse(problem, QStringLiteral("Неверное значение %1: %2").arg(option, value));
            setFault(options.faults, option, number);
        } else if (option == QStringLiteral("--out")) {
            options.outPath = value;
        } else if (option == QStringLiteral("--report")) {
            options.reportPath = value;
        } else if (option == QStringLiteral("--model")) {
            if (value != QStringLiteral("32") && value != QStringLiteral("99"))
                return refuse(problem, QStringLiteral("Модель должна быть 32 или 99: %1").arg(value));
            options.model = value == QStringLiteral("32") ? DeviceModel::Records32
                                                          : DeviceModel::Records99;
            modelGiven = true;
        } else if (option == QStringLiteral("--version-line") || option == QStringLiteral("--reply")) {
            const std::optional<QByteArray> text = decodeEscapes(value);
            if (!text)
                return refuse(problem, QStringLiteral("Неверная escape-последовательность в %1: %2")
                                           .arg(option, value));
            if (option == QStringLiteral("--reply")) {
                options.reply = *text;
            } else {
                options.versionLine = *text;
                versionLineGiven = true;
            }
        } else if (option == QStringLiteral("--baud")) {
            options.baudRate = value.toInt(&ok);
            if (!ok || !speedCodeOf(*options.baudRate))
                return refuse(problem, QStringLiteral("Неподдерживаемая скорость: %1").arg(value));
        } else if (option == QStringLiteral("--link")) {
            options.linkPath = value;
        } else {
            options.exitAfterSeconds = value.toDouble(&ok);
            // Up to some thirty years, so that the time fits any clock.
            if (!ok || !(*options.exitAfterSeconds > 0 && *options.exitAfterSeconds <= 1e9))
                return refuse(problem, QStringLiteral("Время должно быть положительным числом секунд: %1")
                                           .arg(value));
        }
    }
    if (!modelGiven)
        return refuse(problem, QStringLiteral("Не указана модель (--model 32 или 99)"));
    if (versionLineGiven && options.model != DeviceModel::Records99)
        return refuse(problem, QStringLiteral("Строку версии сообщает только модель 99"));
    if (options.silent && options.reply)
        return refuse(problem, QStringLiteral("--silent и --reply исключают друг друга"));
    return options;
}

#include "settings/BackUpFile.h"
#include <algorithm>
#include <filesystem>
#include <optional>
#include "platform/Failure.h"
#include "platform/Path.h"
#include "settings/BackUpText.h"
#include "settings/WholeFile.h"

namespace settings {

namespace fs = std::filesystem;
namespace code = errors::code;

namespace {

constexpr const char* kError = "Ошибка";
constexpr const char* kMessage = "Сообщение";

// Why a file is not loaded, or a backup not written.
const char* refusalText(Refusal r, bool reading) {
    switch (r) {
        case Refusal::TooBig:
            return reading ? "Файл слишком велик для резервной копии данных (больше 1 МБ)."
                           : "Резервная копия не сохранена: файл получился бы больше 1 МБ.";
        case Refusal::TooManyReminds:
            return reading ? "Файл не является резервной копией данных: в нем больше 1000 напоминаний."
                           : "Резервная копия не сохранена: напоминаний больше 1000, столько файл резервной копии не "
                             "вмещает.";
        case Refusal::LineTooLong:
            if (reading) return "Файл не является резервной копией данных: в нем есть строка длиннее 64 КБ.";
            break;
        case Refusal::NotBackUp:
        case Refusal::None: break;
    }
    return reading ? "Файл не является резервной копией данных или поврежден!"
                   : "Резервная копия не сохранена: одно из значений слишком длинное для файла резервной копии.";
}

std::string twoDigits(int v) {
    v = ((v % 100) + 100) % 100;
    return {char('0' + v / 10), char('0' + v % 10)};
}

}  // namespace

BackUpFile::BackUpFile(Ports ports, errors::Guard& guard, const core::Session& session, Settings& settings,
                       Store& store)
    : ports_(ports), guard_(guard), session_(session), settings_(settings), store_(store) {}

void BackUpFile::refuse(const char* text) {
    ports_.audio.messageBeep(platform::kBeepHand);
    ports_.ui.messageBox(text, kError, ui::kMbIconHand | ui::kMbSystemModal);
}

void BackUpFile::WriteBackUpFile(BackUpView& view) {
    guard_(code::WriteBackUpFile, [&] {
        platform::Registry& registry = ports_.registry;
        const fs::path file = platform::u8path(BackUpFileName);
        const platform::LocalTime now = ports_.clock.now();
        guard_.step(2);
        const int count = reminders::CountReminds(registry).n;
        Refusal refusal = count > kMostBackUpReminds ? Refusal::TooManyReminds : Refusal::None;
        std::string bytes;
        if (refusal == Refusal::None) {
            reminders::StoredReminds stored =
                count > 0 ? reminders::ReadStoredReminds(registry) : reminders::StoredReminds{};
            // A number without a key is left out: loaded, it would come back as an empty reminder.
            stored.keys.resize(std::min(stored.keys.size(), std::size_t(count)));
            std::erase_if(stored.keys, [](const auto& key) { return !key; });
            bytes = MakeBackUp(settings_, session_.LMVVersion, stored, int(stored.keys.size()),
                               ports_.system.shortDate(now))
                        .bytes();
            // A file the reader would refuse is not worth writing.
            refusal = CheckBackUp(bytes).refusal;
        }
        if (refusal != Refusal::None) {
            refuse(refusalText(refusal, false));
            return;
        }
        guard_.step(1);  // the file itself
        if (!WriteWhole(ports_.system, file, bytes))
            throw platform::FileError("Cannot write the backup file " + BackUpFileName);
        guard_.step(2);
        ports_.audio.messageBeep(platform::kBeepExclamation);
        ports_.ui.messageBox(" Данные успешно сохранены.  ", kMessage, ui::kMbIconInformation);
        const std::string date = ports_.system.dateSeparator();
        settings_.LastBackUp = twoDigits(now.hour) + ports_.system.timeSeparator() + twoDigits(now.minute) + " " +
                               twoDigits(now.day) + date + twoDigits(now.month) + date + twoDigits(now.year);
        store_.StoreLastBackUp();
        view.showLastBackUp(settings_.LastBackUp);
    });
}

void BackUpFile::replaceReminds(const reminders::StoredReminds& file) {
    platform::Registry& registry = ports_.registry;
    const reminders::StoredReminds before = reminders::ReadStoredReminds(registry);
    try {
        reminders::WriteStoredReminds(registry, file);
    } catch (...) {
        // The failure is still reported; a registry that refuses this too
        // has nothing more to give.
        try {
            reminders::WriteStoredReminds(registry, before);
        } catch (...) {
        }
        throw;
    }
}

void BackUpFile::ReadBackUpFile(BackUpView& view) {
    ParamsRead = 0;
    ParamsRepaired = 0;
    guard_(code::ReadBackUpFile, [&] {
        const fs::path file = platform::u8path(BackUpFileName);
        std::optional<std::string> bytes = ReadWhole(file, kMostBackUpBytes);
        if (!bytes) {
            refuse("Не удалось прочитать файл: он занят другой программой, удален или недоступен.");
            return;
        }
        CheckedFile checked = CheckBackUp(std::move(*bytes));
        if (checked.refusal != Refusal::None) {
            refuse(refusalText(checked.refusal, true));
            return;
        }
        guard_.step(2);
        if (!checked.sealed) {
            ports_.audio.messageBeep(platform::kBeepHand);
            // Refused, the file stays as it is and asks again next time.
            const int answer = ports_.ui.messageBox("Файл изменен или поврежден! Продолжить загрузку?", kError,
                                                    ui::kMbYesNo | ui::kMbIconHand | ui::kMbDefButton2 |
                                                        ui::kMbSystemModal);
            if (answer != ui::kIdYes) return;
        }
        guard_.step(3);
        const FileLoad load = LoadBackUp(checked.text, settings_, session_.LMVVersion);
        ParamsRead = load.read;
        ParamsRepaired = load.repaired;
        guard_.step(7);
        const Settings earlier = settings_;
        settings_ = load.record;
        view.showSettings(earlier);
        if (load.reminds) replaceReminds(*load.reminds);
        view.listReminds();
        guard_.step(9);
        if (ParamsRepaired > 0) {
            // Only a repaired file is written, and one that cannot be (read-only,
            // on a CD, locked) has still been loaded.
            DateAndSeal(checked.text, ports_.system.shortDate(ports_.clock.now()));
            const std::string repaired = checked.text.bytes();
            // Repairs that would take a file at the limit beyond it are not written.
            const bool written =
                CheckBackUp(repaired).refusal == Refusal::None && WriteWhole(ports_.system, file, repaired);
            ports_.audio.messageBeep(platform::kBeepDefault);
            ports_.ui.messageBox("Отсутствовали или содержали неверные значения " + std::to_string(ParamsRepaired) +
                                     " из " + std::to_string(ParamsRead) +
                                     " параметров. Ошибки в структуре данных исправленны. " +
                                     (written ? "Файл восстановлен. " : "Файл не изменен: записать в него не удалось. "),
                                 "Предупреждение", ui::kMbIconExclamation | ui::kMbSystemModal);
        } else {
            ports_.audio.messageBeep(platform::kBeepExclamation);
            ports_.ui.messageBox(" Данные загружены успешно.  ", kMessage, ui::kMbIconInformation | ui::kMbSystemModal);
        }
        view.markChanged();
    });
}

}  // namespace settings
